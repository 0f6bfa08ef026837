// The shared text tests.
#include "tables/text_tests.h"

bool isBlankText(const CString& text, const TextLocale& locale)
{
  for (int i = 0; i < text.GetLength(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (locale.isLeadByte(c) || !locale.isSpace(c))
      return false;
  }
  return true;
}

bool containsLetter(const CString& text, const TextLocale& locale)
{
  if (isBlankText(text, locale))
    return false;
  for (int i = 0; i < text.GetLength(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (locale.isLeadByte(c) || locale.isAlpha(c))
      return true;
  }
  return false;
}

int firstDigitPosition(const CString& text, const TextLocale& locale)
{
  for (int i = 0; i < text.GetLength(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (locale.isLeadByte(c))
      ++i;
    else if (locale.isDigit(c))
      return i + 1;
  }
  return 0;
}

bool hasForbiddenCharacters(const CString& text, const TextLocale& locale)
{
  for (int i = 0; i < text.GetLength(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (locale.isLeadByte(c))
      ++i;
    else if (c == '|' || c == '\\')
      return true;
  }
  return false;
}

bool hasEmailForm(const CString& text)
{
  return text.IsEmpty() || (text.Find('@') >= 0 && text.Find('.') >= 0 && text.Find(' ') < 0);
}
