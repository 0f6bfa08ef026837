// Palette handling of the picture dialogs, and what every dialog of the
// wizard may take.
#include "ui/win32/palette_dialog.h"

#include "framework/win32/app.h"
#include "res/resource.h"
#include "string_ids.h"
#include "ui/win32/wizard_windows.h"

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
  setPalette(wizardWindows().palette());
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
