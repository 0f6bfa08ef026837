// The splash and the about box.
#include "ui/win32/splash_dialog.h"

#include "app/options.h"
#include "app/reg_exception.h"
#include "data/registration_record.h"
#include "data/system_info.h"
#include "framework/win32/app.h"
#include "res/resource.h"
#include "string_ids.h"
#include "ui/win32/bitmaps.h"
#include "ui/win32/contact_page.h"

namespace {

const UINT_PTR splashTimer = 1;

}  // namespace

SplashDialog::SplashDialog() : PaletteDialog(IDD_SPLASH)
{
  onMessage(WM_PAINT, [this](WPARAM, LPARAM, LRESULT&) {
    paint();
    return TRUE;
  });
  onMessage(WM_QUERYDRAGICON, [this](WPARAM, LPARAM, LRESULT& result) {
    result = reinterpret_cast<LRESULT>(icon_);
    return TRUE;
  });
  onMessage(WM_SYSCOMMAND, [this](WPARAM wParam, LPARAM, LRESULT&) {
    if ((wParam & 0xFFF0) != IDM_ABOUTBOX)
      return FALSE;
    // The wizard must not start underneath the about box.
    KillTimer(splashTimer);
    AboutDialog about;
    about.DoModal();
    if (!ended_)
      startTimer();
    return TRUE;
  });
  onMessage(WM_TIMER, [this](WPARAM, LPARAM, LRESULT&) {
    onTimer();
    return TRUE;
  });
  onMessage(WM_CLOSE, [this](WPARAM, LPARAM, LRESULT&) {
    onClose();
    return TRUE;
  });
}

void SplashDialog::OnCreate()
{
  SIZE size;
  if (!bitmapSize(IDB_SPLASH, &size))
    return;
  RECT created;
  GetWindowRect(&created);
  CClientDC dc(this);
  // The picture's size at the display's scale, as the pages are laid out.
  int dpi = displayDpi(dc);
  POINT corners[2] = {{0, 0}, {scaledToDpi(size.cx, dpi), scaledToDpi(size.cy, dpi)}};
  dc.DPtoLP(corners, 2);
  SetWindowPos(nullptr, created.left, created.top, corners[1].x - corners[0].x, corners[1].y - corners[0].y,
               SWP_SHOWWINDOW | SWP_NOZORDER);
  setPalette(nullptr);
}

BOOL SplashDialog::OnInitDialog()
{
  RegistrationRecord::instance().load();
  SystemInfo::instance().collect();
  PaletteDialog::OnInitDialog();
  // The template's position was for its own size; the picture's size is known now.
  CenterWindow();

  CString about = loadText(IDS_ABOUTBOX);
  if (!about.IsEmpty()) {
    if (CMenu* menu = GetSystemMenu(FALSE)) {
      menu->AppendMenu(MF_SEPARATOR);
      menu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
    }
  }
  icon_ = AfxGetApp()->LoadIcon(IDI_WIZARD);
  smallIcon_ = AfxGetApp()->LoadIcon(IDI_WIZARD, true);
  SetIcon(icon_, TRUE);
  SetIcon(smallIcon_, FALSE);
  startTimer();
  return TRUE;
}

void SplashDialog::startTimer()
{
  SetTimer(splashTimer, splashDelayMilliseconds(Options::instance().splashDelay()));
}

BOOL SplashDialog::PreTranslateMessage(MSG* message)
{
  switch (message->message) {
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
    if (IsWindowVisible()) {
      PostMessage(WM_TIMER, splashTimer, 0);
      return TRUE;
    }
    break;
  default:
    break;
  }
  return PaletteDialog::PreTranslateMessage(message);
}

void SplashDialog::paint()
{
  CPaintDC dc(this);
  RECT client;
  GetClientRect(&client);
  if (IsIconic()) {
    ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
    int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, icon_);
    return;
  }
  // The window has the picture's size at the display's scale.
  drawBitmapStretched(dc, client, IDB_SPLASH);
}

void SplashDialog::onTimer()
{
  KillTimer(splashTimer);
  // A second key press may have posted another timer message before the
  // first one ended the splash.
  if (ended_)
    return;
  ended_ = true;
  OnOK();
  ContactPage contact;
  contact.DoModal();
}

void SplashDialog::onClose()
{
  KillTimer(splashTimer);
  CRegException question(exitConfirmationMessage, nullptr);
  if (question.Report() == IDYES) {
    ended_ = true;
    EndDialog(IDCANCEL);
  } else {
    startTimer();
  }
}

AboutDialog::AboutDialog() : CDialog(IDD_ABOUTBOX) {}

BOOL AboutDialog::OnInitDialog()
{
  CDialog::OnInitDialog();
  // "&About VLM Product Registration..." without its mnemonic and dots.
  CString title = loadText(IDS_ABOUTBOX);
  title.Remove('&');
  if (title.GetLength() >= 3 && title.Right(3) == "...")
    title = title.Left(title.GetLength() - 3);
  SetWindowText(title);
  SetDlgItemText(IDC_ABOUT_NAME, loadText(IDS_CAPTION));
  SetDlgItemText(IDC_ABOUT_VERSION, loadText(IDS_VERSION));
  return TRUE;
}
