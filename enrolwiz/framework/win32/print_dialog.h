// CPrintDialog: the system's print dialog (PrintDlgA), returning a printer
// device context that the caller then owns.
#ifndef ENROLWIZ_FRAMEWORK_WIN32_PRINT_DIALOG_H
#define ENROLWIZ_FRAMEWORK_WIN32_PRINT_DIALOG_H

#include <windows.h>

#include <commdlg.h>

class CWnd;

class CPrintDialog {
public:
  // printSetupOnly FALSE: the print dialog itself; flags are PD_ flags, to
  // which PD_RETURNDC is added.
  CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent = nullptr);
  ~CPrintDialog();
  CPrintDialog(const CPrintDialog&) = delete;
  CPrintDialog& operator=(const CPrintDialog&) = delete;

  // IDOK when the user chose to print, else IDCANCEL.
  INT_PTR DoModal();
  // The printer's device context, given to the caller (null when there is none).
  HDC GetPrinterDC();

  PRINTDLGA m_pd;

private:
  CWnd* parent_;
};

#endif
