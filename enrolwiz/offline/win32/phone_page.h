// The phone registration page (template 191): the number to call and the
// registration data in the order in which the representative takes it down,
// as they were when the page was made. Read-only; "&Next>" ends it with IDOK.
#ifndef ENROLWIZ_OFFLINE_WIN32_PHONE_PAGE_H
#define ENROLWIZ_OFFLINE_WIN32_PHONE_PAGE_H

#include "framework/win32/dialog.h"
#include "offline/phone_page_texts.h"

class PhonePage : public CDialog {
public:
  explicit PhonePage(CWnd* owner = nullptr);

protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* exchange) override;

private:
  PhonePageTexts texts_;
};

#endif
