// The contact page (template 139), the first page of the wizard: the
// customer's name, job title, company, address, phone and e-mail. Its logic is
// ContactPageCore's; the page gives it the real controls, runs "&Next>" on to
// the additional-information page, "Your &Privacy..." to the privacy dialog,
// and asks the exit confirmation on "E&xit" and on closing.
#ifndef ENROLWIZ_UI_CONTACT_PAGE_H
#define ENROLWIZ_UI_CONTACT_PAGE_H

#include "app/win32/palette_dialog.h"
#include "ui/contact_page_core.h"

// ContactForm over the controls of a dialog.
class DialogContactForm : public ContactForm {
public:
  explicit DialogContactForm(CDialog& dialog) : dialog_(dialog) {}

  CString text(UINT id) const override;
  void setText(UINT id, const CString& text) override;
  void limitText(UINT id, int characters) override;
  void clearList(UINT id) override;
  void addEntry(UINT id, const CString& text, int data, bool atEnd) override;
  int selectedData(UINT id) const override;
  bool selectEntry(UINT id, const CString& text, bool exact) override;
  void makeFreeText(UINT id) override;
  int checked(UINT id) const override;
  void setChecked(UINT id, int state) override;
  void show(UINT id, bool shown) override;
  void enable(UINT id, bool enabled) override;
  CWnd* control(UINT id) override;
  void moveFocus(CWnd* control) override;
  int report(CRegException& message) override;

private:
  HWND window(UINT id) const { return ::GetDlgItem(dialog_.m_hWnd, static_cast<int>(id)); }

  CDialog& dialog_;
};

class ContactPage : public PageDialog {
public:
  explicit ContactPage(CWnd* parent = nullptr);

protected:
  BOOL OnInitDialog() override;

private:
  void onNext();

  DialogContactForm form_;
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
