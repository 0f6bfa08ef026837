// The additional-information page (template 140), run by the contact page's
// "&Next>". So far it shows its template: "< &Back" closes it and runs a new
// contact page, "E&xit" and closing ask the exit confirmation. Its survey
// lists, bookmarks and "&Submit" are not built yet.
#ifndef ENROLWIZ_UI_ADDITIONAL_PAGE_H
#define ENROLWIZ_UI_ADDITIONAL_PAGE_H

#include "app/win32/palette_dialog.h"

class AdditionalPage : public PageDialog {
public:
  explicit AdditionalPage(CWnd* parent = nullptr);

private:
  void onBack();
};

#endif
