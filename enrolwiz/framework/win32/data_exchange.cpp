// The dialog data exchange functions.
#include "framework/win32/data_exchange.h"

#include <vector>

namespace {

CString textOf(HWND control)
{
  int length = ::GetWindowTextLengthA(control);
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  int got = ::GetWindowTextA(control, buffer.data(), length + 1);
  return CString(buffer.data(), got < 0 ? 0 : got);
}

bool isComboBox(HWND control)
{
  char name[16] = {};
  ::GetClassNameA(control, name, sizeof name);
  return lstrcmpiA(name, "ComboBox") == 0;
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
    value = textOf(control);
  else
    ::SetWindowTextA(control, value);
}

void DDX_Check(CDataExchange* exchange, int id, int& value)
{
  HWND control = exchange->PrepareCtrl(id);
  if (!control)
    return;
  if (exchange->m_bSaveAndValidate)
    value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
  else
    ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
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
  HWND control = exchange->PrepareCtrl(id);
  if (!control)
    return;
  if (exchange->m_bSaveAndValidate)
    value = static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0));
  else
    ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void DDX_CBString(CDataExchange* exchange, int id, CString& value)
{
  HWND control = exchange->PrepareCtrl(id);
  if (!control)
    return;
  bool dropList = (::GetWindowLongA(control, GWL_STYLE) & 3) == CBS_DROPDOWNLIST;
  if (exchange->m_bSaveAndValidate) {
    if (!dropList) {
      value = textOf(control);
      return;
    }
    int index = static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0));
    value.Empty();
    if (index == CB_ERR)
      return;
    LRESULT length = ::SendMessageA(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    std::vector<char> buffer(static_cast<size_t>(length < 0 ? 0 : length) + 1);
    LRESULT got = ::SendMessageA(control, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                 reinterpret_cast<LPARAM>(buffer.data()));
    value = CString(buffer.data(), got == CB_ERR ? 0 : static_cast<int>(got));
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
