// The contact page.
#include "ui/contact_page.h"

#include "app/reg_exception.h"
#include "res/resource.h"

ContactPage::ContactPage(CWnd* parent) : PageDialog(IDD_CONTACT_PAGE, parent)
{
  onCommand(IDC_EXIT, [this] { onExit(); });
}

void ContactPage::onExit()
{
  CRegException question(exitConfirmationMessage, nullptr);
  if (question.Report() == IDYES)
    closePage();
}
