// The dialog data exchange functions.
#include "framework/win32/data_exchange.h"

namespace {

bool isComboBox(HWND control)
{
  char name[16] = {};
  ::GetClassNameA(control, name, sizeof name);
  return lstrcmpiA(name, "ComboBox") == 0;
}

// A number that one message reads from the control and another sets (in wParam).
void exchangeNumber(CDataExchange* exchange, int id, int& value, UINT get, UINT set)
{
  HWND control = exchange->PrepareCtrl(id);
  if (!control)
    return;
  if (exchange->m_bSaveAndValidate)
    value = static_cast<int>(::SendMessageA(control, get, 0, 0));
  else
    ::SendMessageA(control, set, static_cast<WPARAM>(value), 0);
}

}  // namespace

HWND CDataExchange::PrepareCtrl(int id)
{
  m_hWndLastControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
  return m_hWndLastControl;
}

void DDX_Text(CDataExchange* exchange, int id, CString& value)
{
  HWND control = exchange->PrepareCtrl(id);
  if (!control)
    return;
  if (exchange->m_bSaveAndValidate)
    value = windowTextOf(control);
  else
    ::SetWindowTextA(control, value);
}

void DDX_Check(CDataExchange* exchange, int id, int& value)
{
  exchangeNumber(exchange, id, value, BM_GETCHECK, BM_SETCHECK);
}

void DDX_Radio(CDataExchange* exchange, int id, int& value)
{
  HWND control = exchange->PrepareCtrl(id);
  if (!control)
    return;
  if (exchange->m_bSaveAndValidate)
    value = -1;
  int button = 0;
  do {
    if (::SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
      if (exchange->m_bSaveAndValidate) {
        if (::SendMessageA(control, BM_GETCHECK, 0, 0) != BST_UNCHECKED)
          value = button;
      } else {
        ::SendMessageA(control, BM_SETCHECK, button == value ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      ++button;
    }
    control = ::GetWindow(control, GW_HWNDNEXT);
  } while (control && !(::GetWindowLongA(control, GWL_STYLE) & WS_GROUP));
}

void DDX_CBIndex(CDataExchange* exchange, int id, int& value)
{
  exchangeNumber(exchange, id, value, CB_GETCURSEL, CB_SETCURSEL);
}

void DDX_CBString(CDataExchange* exchange, int id, CString& value)
{
  HWND control = exchange->PrepareCtrl(id);
  if (!control)
    return;
  bool dropList = (::GetWindowLongA(control, GWL_STYLE) & 3) == CBS_DROPDOWNLIST;
  if (exchange->m_bSaveAndValidate) {
    if (!dropList) {
      value = windowTextOf(control);
      return;
    }
    value = comboEntryText(control, static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0)));
  } else {
    const char* text = value;
    if (::SendMessageA(control, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)) == CB_ERR &&
        !dropList)
      ::SetWindowTextA(control, text);
  }
}

void DDX_Control(CDataExchange* exchange, int id, CWnd& control)
{
  if (control.m_hWnd)
    return;
  HWND window = exchange->PrepareCtrl(id);
  if (!window)
    return;
  control.Attach(window);
  exchange->m_pDlgWnd->bindControl(&control);
}

void DDV_MaxChars(CDataExchange* exchange, const CString&, int maxChars)
{
  HWND control = exchange->m_hWndLastControl;
  if (!control || exchange->m_bSaveAndValidate)
    return;
  ::SendMessageA(control, isComboBox(control) ? CB_LIMITTEXT : EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
}
