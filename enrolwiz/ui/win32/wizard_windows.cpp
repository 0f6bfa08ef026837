// What the wizard's windows share.
#include "ui/win32/wizard_windows.h"

WizardWindows& wizardWindows()
{
  static WizardWindows windows;
  return windows;
}
