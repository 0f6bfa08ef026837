// CRegException::Report: the message boxes, the exit confirmation, the
// connection-failure sequence and the phone registration sequence.
#include <windows.h>

#include "app/reg_exception.h"
#include "app/report_kind.h"
#include "app/win32/report_dialogs.h"
#include "data/registration_record.h"
#include "framework/win32/app.h"
#include "offline/print_registration.h"
#include "offline/win32/phone_page.h"
#include "res/resource.h"
#include "string_ids.h"
#include "tables/text_tests.h"
#include "ui/win32/page_dialog.h"
#include "ui/win32/thank_you_dialog.h"
#include "ui/win32/wizard_windows.h"

namespace {

// Without an owner, as every report box is; task-modal, so that the pages
// (and every other window of the wizard) take no clicks or keys until it is
// answered: a page behind an open question can neither be closed nor edited.
int messageBox(const CString& text, UINT buttons)
{
  return ::MessageBoxA(nullptr, text, loadText(IDS_CAPTION), buttons | MB_ICONWARNING | MB_TASKMODAL);
}

// The page that is showing closes without asking.
void closeApplication()
{
  CWnd* main = AfxGetMainWnd();
  if (!main || !main->m_hWnd)
    return;
  if (auto* page = dynamic_cast<PageDialog*>(main))
    page->setMayClose(true);
  main->PostMessage(WM_CLOSE);
}

// The dialog keeps the register-later flag in the record; no other part of
// the program reads it (the next confirmation starts from it).
int runExitConfirmation()
{
  ExitConfirmationDialog dialog;
  return static_cast<int>(dialog.DoModal());
}

int runPhoneSequence()
{
  PhonePage page;
  page.DoModal();
  PhoneExitDialog exit;
  if (exit.DoModal() == IDC_PHONE_EXIT_BACK) {
    CRegException again(phoneSequenceMessage, nullptr);
    return again.Report();
  }
  ThankYouDialog thanks;
  return static_cast<int>(thanks.DoModal());
}

int runConnectionFailure(const CString& text)
{
  WizardWindows& windows = wizardWindows();
  if (HWND progress = windows.progressDialog()) {
    ::DestroyWindow(progress);
    windows.setProgressDialog(nullptr);
  }
  CWnd* main = AfxGetMainWnd();
  if (main && main->m_hWnd)
    main->EnableWindow(TRUE);

  ConnectionFailureDialog dialog(text);
  int result = static_cast<int>(dialog.DoModal());
  if (result != IDOK)
    return result;

  RegistrationRecord& record = RegistrationRecord::instance();
  if (record.isMethodPrint()) {
    if (printRegistration(main) != 0) {
      CString number = customerRegistrationNumber();
      if (isBlankText(number))
        return reportAgain;
      CRegException saved(IDS_NO_PRINTER_NO_NETWORK, number, CRegException::suffix, nullptr);
      saved.Report();
    }
  } else if (record.isMethodPhone()) {
    CRegException phone(phoneSequenceMessage, nullptr);
    phone.Report();
  }
  closeApplication();
  return result;
}

}  // namespace

int CRegException::Report()
{
  try {
    switch (reportKind(messageId_)) {
    case ReportKind::warning:
      return messageBox(messageText_, MB_OK);
    case ReportKind::question:
      return messageBox(messageText_, MB_YESNO);
    case ReportKind::connectionFailure:
      return runConnectionFailure(messageText_);
    case ReportKind::phoneSequence:
      return runPhoneSequence();
    case ReportKind::exitConfirmation:
      return runExitConfirmation();
    case ReportKind::none:
      break;
    }
  } catch (CException* failure) {
    failure->Delete();
  }
  return 0;
}
