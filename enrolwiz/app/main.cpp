// Entry of enrolwiz.exe. The application object takes over the entry once the
// Windows front end exists; until then the program starts and ends at once.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
  return 0;
}
