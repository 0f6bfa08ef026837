// The thank-you dialog.
#include "ui/win32/thank_you_dialog.h"

#include "res/resource.h"
#include "tables/language_profile.h"

ThankYouDialog::ThankYouDialog() : PaletteDialog(IDD_THANK_YOU) {}

BOOL ThankYouDialog::OnInitDialog()
{
  PaletteDialog::OnInitDialog();
  setWizardIcon(*this);
  setWizardCaption(*this);
  if (activeLanguage()->boldHeadings())
    showInBold(GetDlgItem(IDC_THANK_YOU_HEADING), bold_);
  return TRUE;
}
