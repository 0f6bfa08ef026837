// The progress dialog (template 175), modeless while a submission runs: shown
// and painted at once, its handle kept among what the wizard's windows share
// (wizard_windows.h) until the submission ends or a report destroys it.
#ifndef ENROLWIZ_UI_WIN32_PROGRESS_DIALOG_H
#define ENROLWIZ_UI_WIN32_PROGRESS_DIALOG_H

#include "framework/win32/dialog.h"

class ProgressDialog : public CDialog {
public:
  ProgressDialog();
  ~ProgressDialog() override;

  // Creates, shows and paints the dialog and records its handle.
  BOOL open(CWnd* page);
  // Destroys the dialog if it is still up and clears the handle.
  void close();

protected:
  BOOL OnInitDialog() override;
};

#endif
