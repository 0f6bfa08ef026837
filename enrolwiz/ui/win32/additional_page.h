// The additional-information page (template 140), run by the contact page's
// "&Next>": the survey questions and the bookmark boxes (AdditionalPageCore
// over the real controls), "< &Back" to a new contact page, "&Submit" to the
// submission, and the exit confirmation on "E&xit" and on closing.
#ifndef ENROLWIZ_UI_WIN32_ADDITIONAL_PAGE_H
#define ENROLWIZ_UI_WIN32_ADDITIONAL_PAGE_H

#include "ui/additional_page_core.h"
#include "ui/win32/dialog_page_form.h"
#include "ui/win32/page_dialog.h"
#include "ui/win32/progress_dialog.h"

class CRegException;

class AdditionalPage : public PageDialog {
public:
  explicit AdditionalPage(CWnd* parent = nullptr);

protected:
  BOOL OnInitDialog() override;
  // The band along the bottom and bitmap 159 in the upper right.
  void paintPictures(CDC& dc, const RECT& client) override;

private:
  void onBack();
  void onSubmit();
  // Steps 2 to 9 of Submit; every failure is thrown.
  void submit();
  // Reports the failure for as long as the report asks for it again, then
  // moves the focus to the list that a "required" message is about.
  void reportFailure(CRegException& failure);

  DialogPageForm form_;
  AdditionalPageCore core_;
  ProgressDialog progress_;
  CFont boldHeading_, boldVisitHeading_;
  // Set while Submit runs: the modal dialogs of a report pump messages, and
  // a second press must not start a second submission.
  bool submitting_ = false;
};

#endif
