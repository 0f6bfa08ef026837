// The phone registration page.
#include "offline/win32/phone_page.h"

#include "data/registration_record.h"
#include "data/system_info.h"
#include "framework/win32/data_exchange.h"
#include "res/resource.h"
#include "ui/win32/palette_dialog.h"

PhonePage::PhonePage(CWnd* owner)
    : CDialog(IDD_PHONE_PAGE, owner), texts_(phonePageTexts(RegistrationRecord::instance(), SystemInfo::instance()))
{
  onCommand(IDC_PHONE_NEXT, [this] { EndDialog(IDOK); });
}

BOOL PhonePage::OnInitDialog()
{
  CDialog::OnInitDialog();
  setWizardCaption(*this);
  return TRUE;
}

void PhonePage::DoDataExchange(CDataExchange* exchange)
{
  DDX_Text(exchange, IDC_PHONE_HEADING, texts_.heading);
  DDX_Text(exchange, IDC_PHONE_PRODUCT_NAME, texts_.productName);
  DDX_Text(exchange, IDC_PHONE_PRODUCTS, texts_.products);
  DDX_Text(exchange, IDC_PHONE_EMAIL, texts_.email);
  DDX_Text(exchange, IDC_PHONE_EMAIL_MESSAGE, texts_.emailMessage);
  DDX_Text(exchange, IDC_PHONE_REASON, texts_.purchaseReason);
  DDX_Text(exchange, IDC_PHONE_INDUSTRY, texts_.industry);
  DDX_Text(exchange, IDC_PHONE_EMPLOYEES, texts_.employees);
  DDX_Text(exchange, IDC_PHONE_OS, texts_.osName);
  DDX_Text(exchange, IDC_PHONE_OS_VERSION, texts_.osVersion);
  DDX_Text(exchange, IDC_PHONE_LOCATION, texts_.installationLocation);
  DDX_Text(exchange, IDC_PHONE_BENEFITS, texts_.benefits);
  DDX_Text(exchange, IDC_PHONE_CLIENT_NUMBER, texts_.clientNumber);
  DDX_Text(exchange, IDC_PHONE_VERSION, texts_.version);
}
