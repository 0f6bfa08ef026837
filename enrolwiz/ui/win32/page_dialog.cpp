// The pages' shared behaviour.
#include "ui/win32/page_dialog.h"

#include "app/reg_exception.h"
#include "framework/win32/app.h"
#include "res/resource.h"
#include "ui/win32/bitmaps.h"

namespace {

// The band of bitmap 168 takes the page's lowest 44 pixels at 100 %.
const int bandHeight = 44;

}  // namespace

PageDialog::PageDialog(UINT templateId, CWnd* parent) : PaletteDialog(templateId, parent)
{
  onMessage(WM_CLOSE, [this](WPARAM, LPARAM, LRESULT&) {
    onClose();
    return TRUE;
  });
  onMessage(WM_PAINT, [this](WPARAM, LPARAM, LRESULT&) {
    CPaintDC dc(this);
    RECT client;
    GetClientRect(&client);
    paintPictures(dc, client);
    return TRUE;
  });
}

PageDialog::~PageDialog()
{
  if (isMainWindow_ && AfxGetApp()->m_pMainWnd == this)
    AfxGetApp()->m_pMainWnd = previousMainWindow_;
}

BOOL PageDialog::OnInitDialog()
{
  BOOL result = PaletteDialog::OnInitDialog();
  setWizardIcon(*this);
  setWizardCaption(*this);
  previousMainWindow_ = AfxGetApp()->m_pMainWnd;
  AfxGetApp()->m_pMainWnd = this;
  isMainWindow_ = true;
  return result;
}

BOOL PageDialog::PreTranslateMessage(MSG* message)
{
  if (IsWindowVisible() && isEscapeKey(*message))
    return TRUE;
  return PaletteDialog::PreTranslateMessage(message);
}

void PageDialog::onClose()
{
  if (mayClose_)
    closePage();
  else
    confirmExit();
}

void PageDialog::confirmExit()
{
  CRegException question(exitConfirmationMessage, nullptr);
  if (question.Report() == IDYES)
    closePage();
}

void PageDialog::paintPictures(CDC& dc, const RECT& client)
{
  // The band's top stands 44 pixels of 100 % above the bottom; the band is
  // drawn at the display's scale and, should the page be laid out wider
  // than that, stretched to the page's whole width.
  int dpi = displayDpi(dc);
  RECT band = scaledPicture(IDB_PAGE_BAND, client.left, client.bottom - scaledToDpi(bandHeight, dpi), dpi);
  if (band.right < client.right)
    band.right = client.right;
  drawBitmapTransparentStretched(dc, band, IDB_PAGE_BAND);
}
