// A page's controls for its logic.
#include "ui/win32/dialog_page_form.h"

#include "app/reg_exception.h"
#include "framework/win32/app.h"

namespace {

bool isComboBox(HWND control)
{
  char name[16] = {};
  ::GetClassNameA(control, name, sizeof name);
  return lstrcmpiA(name, "ComboBox") == 0;
}

}  // namespace

CString DialogPageForm::text(UINT id) const
{
  HWND control = window(id);
  if (!control)
    return CString();
  if (isComboBox(control))
    return comboEntryText(control, static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0)));
  return windowTextOf(control);
}

void DialogPageForm::setText(UINT id, const CString& text)
{
  if (HWND control = window(id))
    ::SetWindowTextA(control, text);
}

void DialogPageForm::limitText(UINT id, int characters)
{
  if (HWND control = window(id))
    ::SendMessageA(control, isComboBox(control) ? CB_LIMITTEXT : EM_LIMITTEXT, static_cast<WPARAM>(characters), 0);
}

void DialogPageForm::clearList(UINT id)
{
  if (HWND control = window(id))
    ::SendMessageA(control, CB_RESETCONTENT, 0, 0);
}

void DialogPageForm::addEntry(UINT id, const CString& text, int data, bool atEnd)
{
  CComboBox* list = dialog_.item<CComboBox>(static_cast<int>(id));
  if (!list)
    return;
  int index = atEnd ? list->InsertString(-1, text) : list->AddString(text);
  if (index >= 0)
    list->SetItemData(index, static_cast<DWORD_PTR>(data));
}

int DialogPageForm::selectedData(UINT id) const
{
  HWND control = window(id);
  if (!control)
    return -1;
  LRESULT selected = ::SendMessageA(control, CB_GETCURSEL, 0, 0);
  if (selected == CB_ERR)
    return -1;
  return static_cast<int>(::SendMessageA(control, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0));
}

bool DialogPageForm::selectEntry(UINT id, const CString& text, bool exact)
{
  HWND control = window(id);
  if (!control)
    return false;
  LPARAM wanted = reinterpret_cast<LPARAM>(static_cast<const char*>(text));
  if (!exact)
    return ::SendMessageA(control, CB_SELECTSTRING, static_cast<WPARAM>(-1), wanted) != CB_ERR;
  LRESULT found = ::SendMessageA(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), wanted);
  if (found == CB_ERR)
    return false;
  ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
  return true;
}

void DialogPageForm::makeFreeText(UINT id)
{
  HWND list = window(id);
  if (!list || !isComboBox(list))
    return;
  // An edit of the height of the page's other edits, where the list was.
  RECT place;
  ::GetWindowRect(list, &place);
  ::MapWindowPoints(nullptr, dialog_.m_hWnd, reinterpret_cast<POINT*>(&place), 2);
  RECT editHeight = {0, 0, 0, 12};
  ::MapDialogRect(dialog_.m_hWnd, &editHeight);
  LONG style = ::GetWindowLongA(list, GWL_STYLE);
  DWORD editStyle = WS_CHILD | WS_BORDER | ES_AUTOHSCROLL | (style & (WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_DISABLED));
  HWND edit = ::CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_NOPARENTNOTIFY, "EDIT", "", editStyle, place.left, place.top,
                                place.right - place.left, editHeight.bottom, dialog_.m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), AfxGetInstanceHandle(), nullptr);
  if (!edit)
    return;
  ::SendMessageA(edit, WM_SETFONT, ::SendMessageA(list, WM_GETFONT, 0, 0), FALSE);
  // Same place in the tab order.
  ::SetWindowPos(edit, list, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::DestroyWindow(list);
}

int DialogPageForm::checked(UINT id) const
{
  return static_cast<int>(dialog_.IsDlgButtonChecked(static_cast<int>(id)));
}

void DialogPageForm::setChecked(UINT id, int state)
{
  dialog_.CheckDlgButton(static_cast<int>(id), static_cast<UINT>(state));
}

void DialogPageForm::show(UINT id, bool shown)
{
  if (HWND control = window(id))
    ::ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
}

void DialogPageForm::enable(UINT id, bool enabled)
{
  if (HWND control = window(id))
    ::EnableWindow(control, enabled);
}

CWnd* DialogPageForm::control(UINT id)
{
  return dialog_.GetDlgItem(static_cast<int>(id));
}

void DialogPageForm::moveFocus(CWnd* control)
{
  if (control && control->m_hWnd && control->IsWindowVisible())
    dialog_.GotoDlgCtrl(control);
}

int DialogPageForm::report(CRegException& message)
{
  return message.Report();
}

