// The progress dialog.
#include "ui/progress_dialog.h"

#include "app/win32/palette_dialog.h"
#include "app/win32/wizard_app.h"
#include "res/resource.h"

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
  wizardApp().setProgressDialog(m_hWnd);
  return TRUE;
}

void ProgressDialog::close()
{
  if (m_hWnd)
    DestroyWindow();
  if (wizardApp().progressDialog() && !::IsWindow(wizardApp().progressDialog()))
    wizardApp().setProgressDialog(nullptr);
}

BOOL ProgressDialog::OnInitDialog()
{
  CDialog::OnInitDialog();
  setWizardCaption(*this);
  return TRUE;
}
