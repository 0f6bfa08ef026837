// Win32 body of the GUID port: CoCreateGuid and StringFromGUID2.
#include <windows.h>
#include <objbase.h>

#include "framework/guid.h"

CString newGuidText()
{
  GUID guid;
  if (FAILED(CoCreateGuid(&guid)))
    return CString();
  WCHAR wide[40];
  int n = StringFromGUID2(guid, wide, 40);
  if (n <= 0)
    return CString();
  char text[40];
  if (WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr) <= 0)
    return CString();
  return CString(text);
}
