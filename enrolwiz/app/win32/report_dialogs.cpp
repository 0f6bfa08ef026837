// The dialogs of the reports.
#include "app/win32/report_dialogs.h"

#include "data/registration_record.h"
#include "framework/win32/data_exchange.h"
#include "res/resource.h"
#include "string_ids.h"
#include "tables/country_format.h"
#include "tables/text_tests.h"
#include "ui/win32/palette_dialog.h"

CString customerRegistrationNumber()
{
  return countryFormat(RegistrationRecord::instance().addressView().countryIndex())->registrationNumber();
}

ExitConfirmationDialog::ExitConfirmationDialog()
    : CDialog(IDD_EXIT_CONFIRMATION), registerLater_(RegistrationRecord::instance().registerLater())
{
  onCommand(IDYES, [this] { EndDialog(IDYES); });
  onCommand(IDNO, [this] {
    UpdateData(TRUE);
    RegistrationRecord::instance().setRegisterLater(registerLater_);
    EndDialog(IDNO);
  });
}

BOOL ExitConfirmationDialog::OnInitDialog()
{
  CDialog::OnInitDialog();
  setWizardCaption(*this);
  // No is the default answer and has the focus.
  GotoDlgCtrl(GetDlgItem(IDNO));
  return FALSE;
}

void ExitConfirmationDialog::OnCancel()
{
  EndDialog(IDNO);
}

void ExitConfirmationDialog::DoDataExchange(CDataExchange* exchange)
{
  DDX_Check(exchange, IDC_REGISTER_LATER, registerLater_);
}

ConnectionFailureDialog::ConnectionFailureDialog(const CString& failureText)
    : CDialog(IDD_CONNECTION_FAILURE), failureText_(failureText)
{
  RegistrationRecord::instance().setRegistrationMethod(methodLater);
  onCommand(IDC_LATER, [] { RegistrationRecord::instance().setRegistrationMethod(methodLater); });
  onCommand(IDC_PRINT_MAIL, [] { RegistrationRecord::instance().setRegistrationMethod(methodPrint); });
  onCommand(IDC_BY_PHONE, [] { RegistrationRecord::instance().setRegistrationMethod(methodPhone); });
}

BOOL ConnectionFailureDialog::PreTranslateMessage(MSG* message)
{
  if (IsWindowVisible() && isEscapeKey(*message))
    return TRUE;
  return CDialog::PreTranslateMessage(message);
}

BOOL ConnectionFailureDialog::OnInitDialog()
{
  CDialog::OnInitDialog();
  setWizardCaption(*this);
  if (isBlankText(customerRegistrationNumber()))
    if (CWnd* phone = GetDlgItem(IDC_BY_PHONE))
      phone->ShowWindow(SW_HIDE);
  return TRUE;
}

void ConnectionFailureDialog::DoDataExchange(CDataExchange* exchange)
{
  DDX_Text(exchange, IDC_FAILURE_TEXT, failureText_);
  DDX_Radio(exchange, IDC_LATER, choice_);
}

PhoneExitDialog::PhoneExitDialog() : CDialog(IDD_PHONE_EXIT)
{
  onCommand(IDC_PHONE_EXIT_BACK, [this] { EndDialog(IDC_PHONE_EXIT_BACK); });
  onCommand(IDC_PHONE_EXIT_NEXT, [this] { EndDialog(IDC_PHONE_EXIT_NEXT); });
}

BOOL PhoneExitDialog::OnInitDialog()
{
  CDialog::OnInitDialog();
  setWizardCaption(*this);
  SetDlgItemText(IDC_PHONE_EXIT_TEXT, loadText(IDS_PHONE_EXIT_TEXT));
  return TRUE;
}
