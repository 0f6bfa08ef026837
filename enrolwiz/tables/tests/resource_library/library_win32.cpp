// The test resource library on Windows: resources only, and the entry a DLL needs.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
  return TRUE;
}
