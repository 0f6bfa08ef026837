// The contact page (template 139), the first page of the wizard: the
// customer's name, job title, company, address, phone and e-mail. Its logic is
// ContactPageCore's; the page gives it the real controls, runs "&Next>" on to
// the additional-information page, "Your &Privacy..." to the privacy dialog,
// and asks the exit confirmation on "E&xit" and on closing.
#ifndef ENROLWIZ_UI_WIN32_CONTACT_PAGE_H
#define ENROLWIZ_UI_WIN32_CONTACT_PAGE_H

#include "ui/contact_page_core.h"
#include "ui/win32/dialog_page_form.h"
#include "ui/win32/page_dialog.h"

class ContactPage : public PageDialog {
public:
  explicit ContactPage(CWnd* parent = nullptr);

protected:
  BOOL OnInitDialog() override;

private:
  void onNext();

  DialogPageForm form_;
  ContactContext context_;
  ContactPageCore core_;
  CFont boldHeading_;
  // Set while the page fills its own controls: those are no typing.
  bool loading_ = false;
  // Set while "&Next>" asks its questions: a second press waits for them.
  bool validating_ = false;
};

// The privacy dialog (template 196): the privacy statement and "&OK".
class PrivacyDialog : public CDialog {
public:
  PrivacyDialog();

protected:
  BOOL OnInitDialog() override;

private:
  CString statement_;
};

#endif
