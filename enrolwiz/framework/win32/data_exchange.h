// Dialog data exchange: DoDataExchange calls one DDX_ function per control;
// loading (m_bSaveAndValidate FALSE) puts member values into the controls,
// saving takes them back.
#ifndef ENROLWIZ_FRAMEWORK_WIN32_DATA_EXCHANGE_H
#define ENROLWIZ_FRAMEWORK_WIN32_DATA_EXCHANGE_H

#include "framework/win32/dialog.h"

class CDataExchange {
public:
  CDataExchange(CDialog* dialog, BOOL saveAndValidate)
      : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

  // The control's handle, remembered for a following DDV_ call; null when the
  // dialog has no such control (the exchange then skips it).
  HWND PrepareCtrl(int id);

  BOOL m_bSaveAndValidate;
  CDialog* m_pDlgWnd;
  HWND m_hWndLastControl = nullptr;
};

// The window text of an edit, a static or a combo box.
void DDX_Text(CDataExchange* exchange, int id, CString& value);
// A check box: 0 clear, 1 ticked, 2 indeterminate.
void DDX_Check(CDataExchange* exchange, int id, int& value);
// A group of radio buttons that starts at id and runs to the next control with
// WS_GROUP: the 0-based index of the checked one, -1 for none.
void DDX_Radio(CDataExchange* exchange, int id, int& value);
// A combo box's selection by index (-1: none).
void DDX_CBIndex(CDataExchange* exchange, int id, int& value);
// A combo box's selection by text: loading selects the first entry that begins
// with the text (a drop-down with an edit shows the text when none does);
// saving gives the selected entry's text, or the edit's text.
void DDX_CBString(CDataExchange* exchange, int id, CString& value);
// Binds a member control object to the control (on the first exchange).
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);
// Limits the last exchanged edit or combo box to maxChars characters.
void DDV_MaxChars(CDataExchange* exchange, const CString& value, int maxChars);

#endif
