// Palette handling of the picture dialogs, and the pages' shared behaviour.
#include "app/win32/palette_dialog.h"

#include "app/reg_exception.h"
#include "app/win32/bitmaps.h"
#include "app/win32/wizard_app.h"
#include "res/resource.h"
#include "string_ids.h"

namespace {

// The band of bitmap 168 takes the page's lowest 44 pixels at 100 %.
const int bandHeight = 44;

}  // namespace

PaletteDialog::PaletteDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent)
{
  onMessage(WM_QUERYNEWPALETTE, [this](WPARAM, LPARAM, LRESULT& result) {
    result = realise(false);
    return TRUE;
  });
  onMessage(WM_PALETTECHANGED, [this](WPARAM wParam, LPARAM, LRESULT&) {
    HWND changer = reinterpret_cast<HWND>(wParam);
    if (changer != m_hWnd && !IsChild(changer))
      realise(true);
    return TRUE;
  });
}

BOOL PaletteDialog::OnInitDialog()
{
  BOOL result = CDialog::OnInitDialog();
  setPalette(wizardApp().palette());
  return result;
}

CPalette* PaletteDialog::setPalette(CPalette* palette)
{
  CPalette* old = palette_;
  palette_ = palette;
  realise(false);
  return old;
}

BOOL PaletteDialog::realise(bool background)
{
  if (!palette_ || !palette_->m_hObject || !m_hWnd)
    return FALSE;
  CClientDC dc(this);
  HPALETTE old = dc.SelectPalette(*palette_, background);
  UINT changed = dc.RealizePalette();
  if (old)
    dc.SelectPalette(old, TRUE);
  if (changed == 0 || changed == GDI_ERROR)
    return FALSE;
  Invalidate(TRUE);
  return TRUE;
}

bool isEscapeKey(const MSG& message)
{
  return (message.message == WM_KEYDOWN || message.message == WM_KEYUP || message.message == WM_CHAR) &&
         message.wParam == VK_ESCAPE;
}

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

void setWizardIcon(CWnd& window)
{
  window.SetIcon(AfxGetApp()->LoadIcon(IDI_WIZARD), TRUE);
  window.SetIcon(AfxGetApp()->LoadIcon(IDI_WIZARD, true), FALSE);
}

void setWizardCaption(CWnd& window)
{
  window.SetWindowText(loadText(IDS_CAPTION));
}

void showInBold(CWnd* control, CFont& font)
{
  if (!control)
    return;
  LOGFONTA description = {};
  HFONT current = control->GetFont();
  if (!current || ::GetObjectA(current, sizeof description, &description) == 0)
    return;
  description.lfWeight = FW_BOLD;
  if (font.CreateFontIndirect(&description))
    control->SetFont(&font);
}
