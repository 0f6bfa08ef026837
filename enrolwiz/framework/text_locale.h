// Locale services of the C runtime in the Windows manner (a port): the locale
// name as Windows writes it ("German_Germany.1252"), its code page, double-byte
// lead bytes and the character classes of a code page. A TextLocale can be made
// from any name, so the logic runs under any locale without changing the
// process's own.
#ifndef ENROLWIZ_FRAMEWORK_TEXT_LOCALE_H
#define ENROLWIZ_FRAMEWORK_TEXT_LOCALE_H

#include "cstring.h"

// setlocale(LC_ALL, NULL), in Windows form ("C" for the C locale).
CString currentLocaleName();

// setlocale(LC_ALL, name): name "" selects the user's default locale. Returns
// the name of the locale now in force, or the empty text when name is refused.
CString selectLocale(const char* name);

// The number after the first "." of a locale name as atoi reads it (0 without one).
int codePageOfLocale(const CString& localeName);

// IsDBCSLeadByteEx: byte begins a double-byte character of the code page.
bool isLeadByte(int codePage, unsigned char byte);

// The character classes of a locale, by byte.
class TextLocale {
public:
  explicit TextLocale(const CString& localeName);

  // The locale now in force (rebuilt when the process's locale changes).
  static const TextLocale& current();

  const CString& name() const { return name_; }
  int codePage() const { return codePage_; }
  bool isLeadByte(unsigned char byte) const { return (classes_[byte] & leadByte) != 0; }
  bool isSpace(unsigned char byte) const { return (classes_[byte] & space) != 0; }
  bool isAlpha(unsigned char byte) const { return (classes_[byte] & alpha) != 0; }
  // Decimal digits are the ASCII digits in every code page.
  bool isDigit(unsigned char byte) const { return byte >= '0' && byte <= '9'; }

  enum Class { leadByte = 1, space = 2, alpha = 4 };

private:
  CString name_;
  int codePage_;
  unsigned char classes_[256];
};

// Classes of the bytes 0x80 to 0xFF that are single characters of the code page
// (the platform's conversion tables), as TextLocale::Class bits; lead bytes excluded.
unsigned char highByteClasses(int codePage, unsigned char byte);

#endif
