// The print dialog.
#include "framework/win32/print_dialog.h"

#include "framework/win32/app.h"
#include "framework/win32/window.h"

CPrintDialog::CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent) : m_pd(), parent_(parent)
{
  m_pd.lStructSize = sizeof m_pd;
  m_pd.Flags = flags | PD_RETURNDC | (printSetupOnly ? PD_PRINTSETUP : 0);
  m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog()
{
  if (m_pd.hDevMode)
    ::GlobalFree(m_pd.hDevMode);
  if (m_pd.hDevNames)
    ::GlobalFree(m_pd.hDevNames);
  if (m_pd.hDC)
    ::DeleteDC(m_pd.hDC);
}

INT_PTR CPrintDialog::DoModal()
{
  CWnd* owner = parent_ ? parent_ : AfxGetMainWnd();
  m_pd.hwndOwner = owner ? owner->m_hWnd : nullptr;
  return ::PrintDlgA(&m_pd) ? IDOK : IDCANCEL;
}

HDC CPrintDialog::GetPrinterDC()
{
  HDC dc = m_pd.hDC;
  m_pd.hDC = nullptr;
  return dc;
}
