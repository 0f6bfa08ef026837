// The splash (template 102): bitmap 138 for as many seconds as the
// "splashdelay" option says, or until a key or mouse button is pressed; then
// it ends and runs the contact page, inside which the rest of the wizard runs.
// On opening it loads the record from the registry and collects the system
// information. Its system menu carries the About item.
#ifndef ENROLWIZ_UI_WIN32_SPLASH_DIALOG_H
#define ENROLWIZ_UI_WIN32_SPLASH_DIALOG_H

#include "ui/win32/palette_dialog.h"

class SplashDialog : public PaletteDialog {
public:
  SplashDialog();

  // Key and mouse-button presses end the splash at once (they post timer 1).
  BOOL PreTranslateMessage(MSG* message) override;

protected:
  // Takes the size of bitmap 138 at the display's scale at the created position.
  void OnCreate() override;
  BOOL OnInitDialog() override;

private:
  void startTimer();
  void paint();
  void onTimer();
  void onClose();

  bool ended_ = false;
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
};

// The about box (template 100), run from the splash's system menu.
class AboutDialog : public CDialog {
public:
  AboutDialog();

protected:
  BOOL OnInitDialog() override;
};

#endif
