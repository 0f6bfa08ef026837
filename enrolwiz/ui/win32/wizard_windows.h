// What the wizard's windows share while it runs: the application palette that
// every picture dialog realises, the additional-information page that is
// showing, and the modeless progress dialog while a submission runs. The
// application object gives the palette at start-up and owns it; the pages and
// the progress dialog record themselves; a report may close the progress
// dialog.
#ifndef ENROLWIZ_UI_WIN32_WIZARD_WINDOWS_H
#define ENROLWIZ_UI_WIN32_WIZARD_WINDOWS_H

#include "framework/win32/dialog.h"
#include "framework/win32/gdi.h"

class WizardWindows {
public:
  // The palette of bitmap 138; null when it has no colour table.
  CPalette* palette() const { return palette_; }
  void setPalette(CPalette* palette) { palette_ = palette; }
  CDialog* additionalPage() const { return additionalPage_; }
  void setAdditionalPage(CDialog* page) { additionalPage_ = page; }
  // The modeless progress dialog while a submission runs, else null.
  HWND progressDialog() const { return progressDialog_; }
  void setProgressDialog(HWND dialog) { progressDialog_ = dialog; }

private:
  CPalette* palette_ = nullptr;
  CDialog* additionalPage_ = nullptr;
  HWND progressDialog_ = nullptr;
};

// The wizard's one set.
WizardWindows& wizardWindows();

#endif
