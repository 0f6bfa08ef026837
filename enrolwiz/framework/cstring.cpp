// CString: construction, searching, case mapping, trimming, formatting, buffers.
#include "cstring.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "text_locale.h"

namespace {

bool isAsciiSpace(unsigned char c)
{
  return c == ' ' || (c >= '\t' && c <= '\r');
}

char foldAscii(char c)
{
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

CString::CString(const char* text) : text_(text ? text : "") {}

CString::CString(const char* text, int length)
{
  if (text && length > 0)
    text_.assign(text, strnlen(text, static_cast<size_t>(length)));
}

CString::CString(char c, int repeat)
{
  if (repeat > 0)
    text_.assign(static_cast<size_t>(repeat), c);
}

CString& CString::operator=(const char* text)
{
  text_ = text ? text : "";
  return *this;
}

CString& CString::operator=(char c)
{
  text_.assign(1, c);
  return *this;
}

CString& CString::operator+=(const CString& text)
{
  text_ += text.text_;
  return *this;
}

CString& CString::operator+=(const char* text)
{
  if (text)
    text_ += text;
  return *this;
}

CString& CString::operator+=(char c)
{
  text_ += c;
  return *this;
}

char CString::GetAt(int index) const
{
  if (index < 0 || index >= GetLength())
    return '\0';
  return text_[static_cast<size_t>(index)];
}

void CString::SetAt(int index, char c)
{
  if (index >= 0 && index < GetLength())
    text_[static_cast<size_t>(index)] = c;
}

int CString::Compare(const char* text) const
{
  return strcmp(text_.c_str(), text ? text : "");
}

int CString::CompareNoCase(const char* text) const
{
  const char* a = text_.c_str();
  const char* b = text ? text : "";
  for (;; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(foldAscii(*a));
    unsigned char y = static_cast<unsigned char>(foldAscii(*b));
    if (x != y)
      return x < y ? -1 : 1;
    if (x == 0)
      return 0;
  }
}

CString CString::Mid(int first) const
{
  return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
  if (first < 0)
    first = 0;
  if (count < 0 || first >= GetLength())
    return CString();
  CString part;
  part.text_ = text_.substr(static_cast<size_t>(first), static_cast<size_t>(count));
  return part;
}

CString CString::Left(int count) const
{
  return Mid(0, count);
}

CString CString::Right(int count) const
{
  if (count <= 0)
    return CString();
  if (count >= GetLength())
    return *this;
  return Mid(GetLength() - count);
}

int CString::Find(char c) const
{
  return Find(c, 0);
}

int CString::Find(char c, int start) const
{
  if (start < 0 || start >= GetLength())
    return -1;
  size_t at = text_.find(c, static_cast<size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const char* sub) const
{
  return Find(sub, 0);
}

int CString::Find(const char* sub, int start) const
{
  if (!sub || start < 0 || start > GetLength())
    return -1;
  size_t at = text_.find(sub, static_cast<size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char c) const
{
  size_t at = text_.rfind(c);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(const char* set) const
{
  if (!set || !*set)
    return -1;
  size_t at = text_.find_first_of(set);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

void CString::MakeUpper()
{
  const TextLocale& locale = TextLocale::current();
  for (size_t i = 0; i < text_.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text_[i]);
    if (locale.isLeadByte(c) && i + 1 < text_.size())
      ++i;
    else if (c >= 'a' && c <= 'z')
      text_[i] = static_cast<char>(c - 'a' + 'A');
  }
}

void CString::MakeLower()
{
  const TextLocale& locale = TextLocale::current();
  for (size_t i = 0; i < text_.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text_[i]);
    if (locale.isLeadByte(c) && i + 1 < text_.size())
      ++i;
    else if (c >= 'A' && c <= 'Z')
      text_[i] = static_cast<char>(c - 'A' + 'a');
  }
}

void CString::TrimLeft()
{
  size_t i = 0;
  while (i < text_.size() && isAsciiSpace(static_cast<unsigned char>(text_[i])))
    ++i;
  text_.erase(0, i);
}

void CString::TrimRight()
{
  size_t n = text_.size();
  while (n > 0 && isAsciiSpace(static_cast<unsigned char>(text_[n - 1])))
    --n;
  text_.resize(n);
}

int CString::Remove(char c)
{
  size_t before = text_.size();
  std::string kept;
  kept.reserve(before);
  for (char x : text_)
    if (x != c)
      kept += x;
  text_.swap(kept);
  return static_cast<int>(before - text_.size());
}

void CString::Format(const char* format, ...)
{
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  int length = vsnprintf(nullptr, 0, format, args);
  va_end(args);
  if (length < 0) {
    va_end(again);
    text_.clear();
    return;
  }
  std::string out(static_cast<size_t>(length) + 1, '\0');
  vsnprintf(&out[0], out.size(), format, again);
  va_end(again);
  out.resize(static_cast<size_t>(length));
  text_.swap(out);
}

char* CString::GetBuffer(int minLength)
{
  size_t want = minLength > 0 ? static_cast<size_t>(minLength) : 0;
  if (text_.size() < want)
    text_.resize(want, '\0');
  return &text_[0];
}

void CString::ReleaseBuffer(int newLength)
{
  size_t length = newLength < 0 ? strnlen(text_.c_str(), text_.size())
                                : static_cast<size_t>(newLength);
  if (length < text_.size())
    text_.resize(length);
}

char* CString::GetBufferSetLength(int newLength)
{
  text_.resize(newLength > 0 ? static_cast<size_t>(newLength) : 0, '\0');
  return &text_[0];
}

CString operator+(const CString& a, const CString& b)
{
  CString sum(a);
  sum += b;
  return sum;
}

CString operator+(const CString& a, const char* b)
{
  CString sum(a);
  sum += b;
  return sum;
}

CString operator+(const char* a, const CString& b)
{
  CString sum(a);
  sum += b;
  return sum;
}

CString operator+(const CString& a, char b)
{
  CString sum(a);
  sum += b;
  return sum;
}

CString operator+(char a, const CString& b)
{
  CString sum(a);
  sum += b;
  return sum;
}

bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const char* b) { return !(a == b); }
bool operator!=(const char* a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }

int atoiText(const char* text)
{
  if (!text)
    return 0;
  while (isAsciiSpace(static_cast<unsigned char>(*text)))
    text++;
  bool negative = *text == '-';
  if (*text == '-' || *text == '+')
    text++;
  long long value = 0;
  for (; *text >= '0' && *text <= '9'; text++) {
    value = value * 10 + (*text - '0');
    if (value > 2147483648LL)
      value = 2147483648LL;
  }
  if (negative)
    value = -value;
  if (value > 2147483647LL)
    value = 2147483647LL;
  return static_cast<int>(value);
}
