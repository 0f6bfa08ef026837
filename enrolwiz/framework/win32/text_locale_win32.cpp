// Win32 body of the locale port: the C runtime's setlocale, IsDBCSLeadByteEx,
// and the system's conversion and character-type tables for the other bytes.
#include <windows.h>

#include <clocale>

#include "framework/text_locale.h"

CString currentLocaleName()
{
  const char* name = setlocale(LC_ALL, nullptr);
  return CString(name ? name : "C");
}

CString selectLocale(const char* name)
{
  const char* chosen = setlocale(LC_ALL, name);
  return CString(chosen ? chosen : "");
}

bool isLeadByte(int codePage, unsigned char byte)
{
  return IsDBCSLeadByteEx(static_cast<UINT>(codePage), byte) != FALSE;
}

unsigned char highByteClasses(int codePage, unsigned char byte)
{
  char in = static_cast<char>(byte);
  WCHAR wide = 0;
  if (MultiByteToWideChar(static_cast<UINT>(codePage), MB_ERR_INVALID_CHARS, &in, 1, &wide, 1) != 1)
    return 0;
  WORD type = 0;
  if (!GetStringTypeW(CT_CTYPE1, &wide, 1, &type))
    return 0;
  unsigned char bits = 0;
  if (type & C1_SPACE)
    bits |= TextLocale::space;
  if (type & C1_ALPHA)
    bits |= TextLocale::alpha;
  return bits;
}
