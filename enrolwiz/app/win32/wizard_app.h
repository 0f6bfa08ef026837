// WizardApp: the application object of enrolwiz. InitInstance starts the
// program in its fixed order and runs the whole wizard inside the splash's
// modal loop; it always returns FALSE, so the process ends when the wizard
// does. The object also holds what the whole wizard shares: the application
// palette, the additional-information page that is showing and the modeless
// progress dialog's handle.
#ifndef ENROLWIZ_APP_WIN32_WIZARD_APP_H
#define ENROLWIZ_APP_WIN32_WIZARD_APP_H

#include "framework/win32/app.h"
#include "framework/win32/dialog.h"
#include "framework/win32/gdi.h"

class WizardApp : public CWinApp {
public:
  WizardApp();

  BOOL InitInstance() override;
  // CoUninitialize, then the base class's ExitInstance.
  int ExitInstance() override;

  // The palette of bitmap 138; null when it has no colour table.
  CPalette* palette() { return palette_.m_hObject ? &palette_ : nullptr; }
  CDialog* additionalPage() const { return additionalPage_; }
  void setAdditionalPage(CDialog* page) { additionalPage_ = page; }
  // The modeless progress dialog while a submission runs, else null.
  HWND progressDialog() const { return progressDialog_; }
  void setProgressDialog(HWND dialog) { progressDialog_ = dialog; }

protected:
  // The steps of InitInstance that a test program may replace.
  void createPalette();
  virtual void parseCommandLine();
  void chooseLanguage();
  // Runs the splash modally as the main window; the wizard runs inside it.
  virtual void runWizard();

private:
  CPalette palette_;
  CDialog* additionalPage_ = nullptr;
  HWND progressDialog_ = nullptr;
};

WizardApp& wizardApp();

#endif
