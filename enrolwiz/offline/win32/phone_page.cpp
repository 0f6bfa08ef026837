// The phone registration page.
#include "offline/win32/phone_page.h"

#include "app/win32/palette_dialog.h"
#include "res/resource.h"

PhonePage::PhonePage(CWnd* owner) : CDialog(IDD_PHONE_PAGE, owner)
{
  onCommand(IDC_PHONE_NEXT, [this] { EndDialog(IDOK); });
}

BOOL PhonePage::OnInitDialog()
{
  CDialog::OnInitDialog();
  setWizardCaption(*this);
  return TRUE;
}
