// CWnd, CMenu and the control classes.
#include "framework/win32/window.h"

#include <vector>

#include "framework/win32/gdi.h"

CString windowTextOf(HWND window)
{
  int length = ::GetWindowTextLengthA(window);
  std::vector<char> buffer(static_cast<size_t>(length < 0 ? 0 : length) + 1);
  int got = ::GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
  return CString(buffer.data(), got < 0 ? 0 : got);
}

CString comboEntryText(HWND comboBox, int index)
{
  LRESULT length = ::SendMessageA(comboBox, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR)
    return CString();
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  LRESULT got = ::SendMessageA(comboBox, CB_GETLBTEXT, static_cast<WPARAM>(index),
                               reinterpret_cast<LPARAM>(buffer.data()));
  return CString(buffer.data(), got == CB_ERR ? 0 : static_cast<int>(got));
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text)
{
  return ::AppendMenuA(m_hMenu, flags, id, text);
}

CWnd::~CWnd()
{
  for (auto& control : controls_)
    control->Detach();
  if (m_hWnd && !attached_)
    ::DestroyWindow(m_hWnd);
}

void CWnd::Attach(HWND window)
{
  m_hWnd = window;
  attached_ = true;
}

HWND CWnd::Detach()
{
  HWND window = m_hWnd;
  m_hWnd = nullptr;
  attached_ = false;
  return window;
}

CWnd* CWnd::findControl(HWND control, bool (*isKind)(CWnd*))
{
  for (auto& known : controls_)
    if (known->m_hWnd == control && isKind(known.get()))
      return known.get();
  return nullptr;
}

CWnd* CWnd::keepControl(std::unique_ptr<CWnd> control, HWND window)
{
  control->Attach(window);
  controls_.push_back(std::move(control));
  return controls_.back().get();
}

void CWnd::windowDestroyed()
{
  for (auto& control : controls_)
    control->Detach();
  m_hWnd = nullptr;
}

void CWnd::SetWindowText(const char* text)
{
  ::SetWindowTextA(m_hWnd, text ? text : "");
}

void CWnd::GetWindowText(CString& text) const
{
  text = windowTextOf(m_hWnd);
}

CString CWnd::windowText() const
{
  return windowTextOf(m_hWnd);
}

void CWnd::SetDlgItemText(int id, const char* text)
{
  ::SetDlgItemTextA(m_hWnd, id, text ? text : "");
}

CString CWnd::dlgItemText(int id) const
{
  HWND control = ::GetDlgItem(m_hWnd, id);
  return control ? windowTextOf(control) : CString();
}

void CWnd::CenterWindow()
{
  RECT window;
  ::GetWindowRect(m_hWnd, &window);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& area = monitor.rcWork;
  int width = window.right - window.left;
  int height = window.bottom - window.top;
  int x = area.left + (area.right - area.left - width) / 2;
  int y = area.top + (area.bottom - area.top - height) / 2;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::DestroyWindow()
{
  if (!m_hWnd)
    return FALSE;
  HWND window = m_hWnd;
  BOOL done = ::DestroyWindow(window);
  if (done && m_hWnd == window)
    windowDestroyed();
  return done;
}

HICON CWnd::SetIcon(HICON icon, BOOL big)
{
  return reinterpret_cast<HICON>(
      SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

CMenu* CWnd::GetSystemMenu(BOOL revert)
{
  systemMenu_.m_hMenu = ::GetSystemMenu(m_hWnd, revert);
  return systemMenu_.m_hMenu ? &systemMenu_ : nullptr;
}

void CWnd::SetFont(CFont* font, BOOL redraw)
{
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->handle() : nullptr), redraw);
}

int CComboBox::AddString(const char* text)
{
  return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

int CComboBox::InsertString(int index, const char* text)
{
  return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
}

int CComboBox::SetItemData(int index, DWORD_PTR data)
{
  return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
}

DWORD_PTR CComboBox::GetItemData(int index) const
{
  return static_cast<DWORD_PTR>(::SendMessageA(m_hWnd, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

int CComboBox::SelectString(int startAfter, const char* text)
{
  return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
}

void CComboBox::GetLBText(int index, CString& text) const
{
  text = comboEntryText(m_hWnd, index);
}
