// The dialogs that reports run: exit confirmation (160), connection failure
// (171) and phone exit (192). Each sets its caption to text 564 when it opens.
// The thank-you dialog (148) that ends the phone sequence is the pages' own
// (ui/win32/thank_you_dialog.h).
#ifndef ENROLWIZ_APP_WIN32_REPORT_DIALOGS_H
#define ENROLWIZ_APP_WIN32_REPORT_DIALOGS_H

#include "framework/win32/dialog.h"

// "&Yes" ends with IDYES and keeps the register-later flag; "&No" stores the
// check box "I would like to register later." into the flag and ends with
// IDNO; closing the dialog otherwise counts as No without storing.
class ExitConfirmationDialog : public CDialog {
public:
  ExitConfirmationDialog();

protected:
  BOOL OnInitDialog() override;
  void OnCancel() override;
  void DoDataExchange(CDataExchange* exchange) override;

private:
  int registerLater_;
};

// Shows the failure text and offers to register later, by mail or by phone;
// the choice is the record's registration method from the moment the dialog
// is made (later). The phone option is hidden when the customer's country has
// no registration number. Escape is dropped.
class ConnectionFailureDialog : public CDialog {
public:
  explicit ConnectionFailureDialog(const CString& failureText);

  BOOL PreTranslateMessage(MSG* message) override;

protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* exchange) override;

private:
  CString failureText_;
  int choice_ = 0;
};

// After the phone page: "<&Back" ends with its id (1082) to show the phone
// page again, "&Next>" with its own (1083).
class PhoneExitDialog : public CDialog {
public:
  PhoneExitDialog();

protected:
  BOOL OnInitDialog() override;
};

// The customer's country's registration phone number (the record's country).
CString customerRegistrationNumber();

#endif
