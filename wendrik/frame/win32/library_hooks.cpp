/* Win32 load and unload hook of wendrik.dll: nothing to set up or tear down;
 * open sessions are not closed and Winsock is not shut down at unload. */
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
  return TRUE;
}
