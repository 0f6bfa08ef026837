// The phone registration page (template 191): the number to call and the
// registration data in the order in which the representative takes it down.
// Read-only; "&Next>" ends it with IDOK.
#ifndef ENROLWIZ_OFFLINE_WIN32_PHONE_PAGE_H
#define ENROLWIZ_OFFLINE_WIN32_PHONE_PAGE_H

#include "framework/win32/dialog.h"

class PhonePage : public CDialog {
public:
  explicit PhonePage(CWnd* owner = nullptr);

protected:
  BOOL OnInitDialog() override;
};

#endif
