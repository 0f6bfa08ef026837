// WizardApp: the application object of enrolwiz. InitInstance starts the
// program in its fixed order and runs the whole wizard inside the splash's
// modal loop; it always returns FALSE, so the process ends when the wizard
// does. The object owns the application palette, which it gives to what the
// wizard's windows share (ui/win32/wizard_windows.h) at start-up.
#ifndef ENROLWIZ_APP_WIN32_WIZARD_APP_H
#define ENROLWIZ_APP_WIN32_WIZARD_APP_H

#include "framework/win32/app.h"
#include "framework/win32/gdi.h"

class WizardApp : public CWinApp {
public:
  WizardApp();

  BOOL InitInstance() override;
  // CoUninitialize, then the base class's ExitInstance.
  int ExitInstance() override;

protected:
  // The palette of bitmap 138, given to the wizard's windows (none when the
  // bitmap has no colour table).
  void createPalette();
  // The steps of InitInstance that a test program may replace.
  virtual void parseCommandLine();
  void chooseLanguage();
  // Runs the splash modally as the main window; the wizard runs inside it.
  virtual void runWizard();

private:
  CPalette palette_;
};

WizardApp& wizardApp();

#endif
