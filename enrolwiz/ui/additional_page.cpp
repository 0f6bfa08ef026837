// The additional-information page.
#include "ui/additional_page.h"

#include "res/resource.h"
#include "ui/contact_page.h"

AdditionalPage::AdditionalPage(CWnd* parent) : PageDialog(IDD_ADDITIONAL_PAGE, parent)
{
  onCommand(IDC_PAGE_BACK, [this] { onBack(); });
  onCommand(IDC_PAGE_EXIT, [this] { confirmExit(); });
}

void AdditionalPage::onBack()
{
  EndDialog(IDCANCEL);
  ContactPage contact;
  contact.DoModal();
}
