// The additional-information page and the Submit sequence.
#include "ui/win32/additional_page.h"

#include "app/diagnostics.h"
#include "app/options.h"
#include "app/reg_exception.h"
#include "app/report_kind.h"
#include "data/registration_record.h"
#include "data/request_encoding.h"
#include "net/product_registration.h"
#include "offline/bookmarks.h"
#include "res/resource.h"
#include "string_ids.h"
#include "tables/language_profile.h"
#include "ui/win32/bitmaps.h"
#include "ui/win32/contact_page.h"
#include "ui/win32/thank_you_dialog.h"

namespace {

// Bitmap 159 stands this far left of the right edge, this far down (pixels
// at 100 %, scaled with the display).
const int pictureFromRight = 200;
const int pictureTop = 30;

}  // namespace

AdditionalPage::AdditionalPage(CWnd* parent)
    : PageDialog(IDD_ADDITIONAL_PAGE, parent), form_(*this), core_(form_, brand(), RegistrationRecord::instance())
{
  onCommand(IDC_PAGE_BACK, [this] { onBack(); });
  onCommand(IDC_SUBMIT, [this] { onSubmit(); });
  onCommand(IDC_PAGE_EXIT, [this] { confirmExit(); });
}

BOOL AdditionalPage::OnInitDialog()
{
  PageDialog::OnInitDialog();
  if (activeLanguage()->boldHeadings()) {
    showInBold(GetDlgItem(IDC_ADDITIONAL_HEADING), boldHeading_);
    showInBold(GetDlgItem(IDC_VISIT_HEADING), boldVisitHeading_);
  }
  core_.load();
  setMayClose(false);
  return TRUE;
}

void AdditionalPage::paintPictures(CDC& dc, const RECT& client)
{
  PageDialog::paintPictures(dc, client);
  int dpi = displayDpi(dc);
  drawBitmapTransparentStretched(dc,
                                 scaledPicture(IDB_PAGE_PICTURE, client.right - scaledToDpi(pictureFromRight, dpi),
                                               client.top + scaledToDpi(pictureTop, dpi), dpi),
                                 IDB_PAGE_PICTURE);
}

void AdditionalPage::onBack()
{
  if (submitting_)
    return;
  core_.store(RegistrationRecord::instance());
  EndDialog(IDCANCEL);
  ContactPage contact;
  contact.DoModal();
}

void AdditionalPage::onSubmit()
{
  if (submitting_)
    return;
  submitting_ = true;
  try {
    core_.checkRequiredAnswers();
    submit();
  } catch (CRegException* failure) {
    reportFailure(*failure);
    failure->Delete();
  }
  submitting_ = false;
}

void AdditionalPage::submit()
{
  progress_.open(this);
  EnableWindow(FALSE);

  RegistrationRecord& record = RegistrationRecord::instance();
  core_.store(record);
  // Built before the client number is made: a new number goes out with the
  // next registration.
  CString request = buildRequestText();
  record.makeClientNumberIfMissing();
  record.save();
  addBookmarks(record);

  if (Options::instance().connect().CompareNoCase("No") == 0) {
    writeDiagnosticLine(request);
    throw newRegExceptionWithPrefix(connectionFailureMessage, loadText(IDS_NO_CONNECT));
  }
  ProductRegistration registration;
  registration.postRegistration(request);

  progress_.close();
  EnableWindow(TRUE);
  SetFocus();
  OnOK();
  ThankYouDialog thanks;
  thanks.DoModal();
}

void AdditionalPage::reportFailure(CRegException& failure)
{
  while (failure.Report() == reportAgain) {
  }
  // The connection-failure report takes the progress dialog down and enables
  // the page; any other failure after the first step must not leave the page
  // dead behind it.
  if (progress_.m_hWnd) {
    progress_.close();
    if (m_hWnd)
      EnableWindow(TRUE);
  }
  core_.focusByMessage(failure.messageId());
}
