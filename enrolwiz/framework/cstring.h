// CString: the single-byte text type of enrolwiz, in the manner of the
// framework's class (text in the active code page, zero-terminated).
#ifndef ENROLWIZ_FRAMEWORK_CSTRING_H
#define ENROLWIZ_FRAMEWORK_CSTRING_H

#include <string>

#include "types.h"

// The Windows headers rename LoadString; the member keeps its own name.
#ifdef LoadString
#undef LoadString
#endif

class CString {
public:
  CString() = default;
  CString(const CString& other) = default;
  CString(const char* text);
  CString(const char* text, int length);
  CString(char c, int repeat = 1);

  CString& operator=(const CString& other) = default;
  CString& operator=(const char* text);
  CString& operator=(char c);
  CString& operator+=(const CString& text);
  CString& operator+=(const char* text);
  CString& operator+=(char c);

  int GetLength() const { return static_cast<int>(text_.size()); }
  BOOL IsEmpty() const { return text_.empty(); }
  void Empty() { text_.clear(); }
  char GetAt(int index) const;
  void SetAt(int index, char c);
  char operator[](int index) const { return GetAt(index); }
  operator const char*() const { return text_.c_str(); }

  int Compare(const char* text) const;
  int CompareNoCase(const char* text) const;   // ASCII letters fold

  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Left(int count) const;
  CString Right(int count) const;

  int Find(char c) const;
  int Find(char c, int start) const;
  int Find(const char* sub) const;
  int Find(const char* sub, int start) const;
  int ReverseFind(char c) const;
  int FindOneOf(const char* set) const;

  // Case mapping of ASCII letters; both bytes of a double-byte character of
  // the current locale's code page are left alone.
  void MakeUpper();
  void MakeLower();

  void TrimLeft();    // white space: blank, tab, line feed, vertical tab, form feed, return
  void TrimRight();
  int Remove(char c);   // number of characters removed

  void Format(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;

  // Room for at least minLength characters; ReleaseBuffer takes the text up
  // to its first zero (or newLength characters) back.
  char* GetBuffer(int minLength);
  void ReleaseBuffer(int newLength = -1);
  char* GetBufferSetLength(int newLength);

  // The string-table text of id from the current resource module; an id
  // without a text gives the empty text and FALSE.
  BOOL LoadString(UINT id);

private:
  std::string text_;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const char* b);
CString operator+(const char* a, const CString& b);
CString operator+(const CString& a, char b);
CString operator+(char a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
bool operator<(const CString& a, const CString& b);

// The string-table text of id (empty when the table has none).
CString loadText(UINT id);

// The number that atoi reads from text: leading white space, a sign, the
// digits that follow (0 when there are none); beyond the range of int the
// nearest limit, as the Windows run-time library gives it.
int atoiText(const char* text);

#endif
