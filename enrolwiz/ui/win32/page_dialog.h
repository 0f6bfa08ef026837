// PageDialog: what both pages of the wizard share, over the palette handling
// of the picture dialogs: the may-close flag, the Escape key dropped, the band
// of bitmap 168 along the bottom, the page as the application's main window
// while it is open, and the exit confirmation of "E&xit".
#ifndef ENROLWIZ_UI_WIN32_PAGE_DIALOG_H
#define ENROLWIZ_UI_WIN32_PAGE_DIALOG_H

#include "ui/win32/palette_dialog.h"

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

#endif
