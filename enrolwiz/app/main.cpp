// Entry of enrolwiz.exe: the one application object.
#include <windows.h>

#include "app/win32/wizard_app.h"

WizardApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
  return AfxWinMain(instance, previous, commandLine, show);
}
