// The contact page and the privacy dialog.
#include "ui/win32/contact_page.h"

#include "app/reg_exception.h"
#include "data/registration_record.h"
#include "framework/win32/app.h"
#include "res/resource.h"
#include "string_ids.h"
#include "tables/language_profile.h"
#include "ui/win32/additional_page.h"
#include "ui/win32/wizard_windows.h"

ContactPage::ContactPage(CWnd* parent)
    : PageDialog(IDD_CONTACT_PAGE, parent),
      form_(*this),
      context_{*activeLanguage(), brand()},
      core_(form_, context_, RegistrationRecord::instance())
{
  onCommand(IDC_NEXT, [this] { onNext(); });
  onCommand(IDC_EXIT, [this] { confirmExit(); });
  onCommand(IDC_PRIVACY, [] {
    PrivacyDialog privacy;
    privacy.DoModal();
  });
  onNotify(IDC_COUNTRY, CBN_SELCHANGE, [this] { core_.countryChanged(); });
  for (UINT id : typedFields)
    onNotify(id, EN_CHANGE, [this, id] {
      if (!loading_)
        core_.fieldChanged(id);
    });
}

BOOL ContactPage::OnInitDialog()
{
  PageDialog::OnInitDialog();
  if (context_.language.boldHeadings())
    showInBold(GetDlgItem(IDC_CONTACT_HEADING), boldHeading_);
  loading_ = true;
  core_.load();
  loading_ = false;
  return TRUE;
}

void ContactPage::onNext()
{
  if (validating_)
    return;
  validating_ = true;
  bool passed = core_.validate();
  validating_ = false;
  // A page closed while its questions were open (confirmed Exit, a close
  // request) ends the wizard: it never goes on to the next page.
  if (!passed || !ContinueModal())
    return;
  core_.store(RegistrationRecord::instance());
  EndDialog(IDOK);
  AdditionalPage additional;
  wizardWindows().setAdditionalPage(&additional);
  additional.DoModal();
  // The page object ends here; nobody may reach it through the wizard's windows.
  if (wizardWindows().additionalPage() == &additional)
    wizardWindows().setAdditionalPage(nullptr);
}

// --- privacy ------------------------------------------------------------------

PrivacyDialog::PrivacyDialog() : CDialog(IDD_PRIVACY), statement_(privacyStatement()) {}

BOOL PrivacyDialog::OnInitDialog()
{
  CDialog::OnInitDialog();
  setWizardCaption(*this);
  SetDlgItemText(IDC_PRIVACY_TEXT, statement_);
  return TRUE;
}
