// The dialogs that show the program's pictures (the splash, both pages, the
// thank-you dialog) select and realise the application palette and answer
// the palette messages; and what every dialog of the wizard may take: its
// icon, its caption, bold texts, and the Escape key told apart.
#ifndef ENROLWIZ_UI_WIN32_PALETTE_DIALOG_H
#define ENROLWIZ_UI_WIN32_PALETTE_DIALOG_H

#include "framework/win32/dialog.h"
#include "framework/win32/gdi.h"

class PaletteDialog : public CDialog {
public:
  explicit PaletteDialog(UINT templateId, CWnd* parent = nullptr);

  // Remembers the palette and realises it; returns the one used before.
  CPalette* setPalette(CPalette* palette);
  CPalette* palette() const { return palette_; }

protected:
  // Base initialisation, then the application palette.
  BOOL OnInitDialog() override;

private:
  // Selects and realises the palette in the client area, in the background
  // when background is true; TRUE when entries changed (the window is then
  // invalidated).
  BOOL realise(bool background);

  CPalette* palette_ = nullptr;
};

// A key-down, key-up or character message of the Escape key.
bool isEscapeKey(const MSG& message);

// Icon 173 as the window's big and small icon.
void setWizardIcon(CWnd& window);
// Caption: string-table text 564.
void setWizardCaption(CWnd& window);
// Shows a control's text in a bold version (weight 700) of its font; font
// keeps the bold font and must live as long as the control.
void showInBold(CWnd* control, CFont& font);

#endif
