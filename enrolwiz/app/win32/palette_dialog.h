// The dialogs that show the program's pictures (the splash, both pages, the
// thank-you dialog) select and realise the application palette and answer
// the palette messages; PageDialog adds what both pages share: the may-close
// flag, the Escape key dropped, and the page as the application's main window
// while it is open.
#ifndef ENROLWIZ_APP_WIN32_PALETTE_DIALOG_H
#define ENROLWIZ_APP_WIN32_PALETTE_DIALOG_H

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

class PageDialog : public PaletteDialog {
public:
  explicit PageDialog(UINT templateId, CWnd* parent = nullptr);
  ~PageDialog() override;

  // When set, WM_CLOSE closes the page without asking.
  bool mayClose() const { return mayClose_; }
  void setMayClose(bool mayClose) { mayClose_ = mayClose; }

  // Escape is dropped while the page is visible.
  BOOL PreTranslateMessage(MSG* message) override;

protected:
  // The palette, the icon (resource 173) and the caption (text 564); the page
  // becomes the application's main window until it is destroyed.
  BOOL OnInitDialog() override;
  // WM_CLOSE: close at once when the may-close flag is set, else after the
  // exit confirmation (message 1049) is answered Yes.
  virtual void onClose();
  // Closes the page, which ends the wizard from within.
  void closePage() { EndDialog(IDCANCEL); }
  // "E&xit": the exit confirmation (message 1049); Yes closes the page.
  void confirmExit();
  // Paints bitmap 168 along the bottom; pages that show more extend it.
  virtual void paintPictures(CDC& dc, const RECT& client);

private:
  bool mayClose_ = false;
  CWnd* previousMainWindow_ = nullptr;
  bool isMainWindow_ = false;
};

// Icon 173 as the window's big and small icon.
void setWizardIcon(CWnd& window);
// Caption: string-table text 564.
void setWizardCaption(CWnd& window);
// Shows a control's text in a bold version (weight 700) of its font; font
// keeps the bold font and must live as long as the control.
void showInBold(CWnd* control, CFont& font);

#endif
