// The progress dialog.
#include "ui/win32/progress_dialog.h"

#include "res/resource.h"
#include "ui/win32/palette_dialog.h"
#include "ui/win32/wizard_windows.h"

ProgressDialog::ProgressDialog() : CDialog(IDD_PROGRESS) {}

ProgressDialog::~ProgressDialog()
{
  close();
}

BOOL ProgressDialog::open(CWnd* page)
{
  if (!Create(page))
    return FALSE;
  ShowWindow(SW_SHOW);
  UpdateWindow();
  // The submission blocks this thread until it ends: whatever the dialog
  // still has to draw is drawn now, and the screen shows it.
  MSG message;
  while (::PeekMessageA(&message, m_hWnd, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  ::GdiFlush();
  wizardWindows().setProgressDialog(m_hWnd);
  return TRUE;
}

void ProgressDialog::close()
{
  if (m_hWnd)
    DestroyWindow();
  if (wizardWindows().progressDialog() && !::IsWindow(wizardWindows().progressDialog()))
    wizardWindows().setProgressDialog(nullptr);
}

BOOL ProgressDialog::OnInitDialog()
{
  CDialog::OnInitDialog();
  setWizardCaption(*this);
  return TRUE;
}
