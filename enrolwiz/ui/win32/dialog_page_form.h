// DialogPageForm: PageForm over the controls of a dialog.
#ifndef ENROLWIZ_UI_WIN32_DIALOG_PAGE_FORM_H
#define ENROLWIZ_UI_WIN32_DIALOG_PAGE_FORM_H

#include "framework/win32/dialog.h"
#include "ui/page_form.h"

class DialogPageForm : public PageForm {
public:
  explicit DialogPageForm(CDialog& dialog) : dialog_(dialog) {}

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

#endif
