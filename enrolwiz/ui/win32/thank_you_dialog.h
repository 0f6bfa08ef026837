// The thank-you dialog (148): the end of a successful registration, or of the
// phone pages. It shows the program's pictures, so it realises the application
// palette; its icon is the wizard's, its caption text 564, and its heading is
// bold where the language wants bold headings.
#ifndef ENROLWIZ_UI_WIN32_THANK_YOU_DIALOG_H
#define ENROLWIZ_UI_WIN32_THANK_YOU_DIALOG_H

#include "ui/win32/palette_dialog.h"

class ThankYouDialog : public PaletteDialog {
public:
  ThankYouDialog();

protected:
  BOOL OnInitDialog() override;

private:
  CFont bold_;
};

#endif
