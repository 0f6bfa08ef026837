// The contact page (template 139), the first page of the wizard. So far it
// offers only the way out: "E&xit" and closing the window ask the exit
// confirmation and close the page on Yes. Its fields, checks and Next come
// with the page's own behaviour.
#ifndef ENROLWIZ_UI_CONTACT_PAGE_H
#define ENROLWIZ_UI_CONTACT_PAGE_H

#include "app/win32/palette_dialog.h"

class ContactPage : public PageDialog {
public:
  explicit ContactPage(CWnd* parent = nullptr);

private:
  void onExit();
};

#endif
