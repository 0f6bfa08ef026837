// CWnd and the small control classes of the framework layer's Win32 half: a
// C++ object over a window handle. Include <windows.h> before this header.
//
// Child windows reached through GetDlgItem are wrapped by objects that the
// parent object owns: the pointer stays valid while the parent object lives,
// so a control can be remembered (for example as the focus of a message).
#ifndef ENROLWIZ_FRAMEWORK_WIN32_WINDOW_H
#define ENROLWIZ_FRAMEWORK_WIN32_WINDOW_H

#include <windows.h>

#include <memory>
#include <vector>

#include "framework/cstring.h"

class CFont;

// The text of any window (GetWindowTextA), and an entry of a combo box
// (CB_GETLBTEXT; empty when there is none).
CString windowTextOf(HWND window);
CString comboEntryText(HWND comboBox, int index);

// A menu handle (the system menu of a window).
class CMenu {
public:
  explicit CMenu(HMENU menu = nullptr) : m_hMenu(menu) {}
  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr);
  HMENU m_hMenu;
};

class CWnd {
public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }

  // Wraps a window that another object does not own (a control); Detach
  // gives the handle back.
  void Attach(HWND window);
  HWND Detach();

  // The object of a control of this window, made on first use; null when the
  // window has no such control. item<CComboBox>(id) gives it as a control class.
  CWnd* GetDlgItem(int id) { return item<CWnd>(id); }
  template <class Control>
  Control* item(int id);
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

  void SetWindowText(const char* text);
  void GetWindowText(CString& text) const;
  CString windowText() const;
  void SetDlgItemText(int id, const char* text);
  CString dlgItemText(int id) const;

  BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
  BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  BOOL IsChild(HWND window) const { return ::IsChild(m_hWnd, window); }
  HWND SetFocus() { return ::SetFocus(m_hWnd); }
  void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
  void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
  void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags)
  {
    return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
  }
  // Centres the window on the work area of its monitor.
  void CenterWindow();
  BOOL DestroyWindow();

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
  {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
  {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
  }

  HICON SetIcon(HICON icon, BOOL big);
  CMenu* GetSystemMenu(BOOL revert);
  UINT_PTR SetTimer(UINT_PTR id, UINT milliseconds) { return ::SetTimer(m_hWnd, id, milliseconds, nullptr); }
  BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

  // The control's font (WM_GETFONT), and a font that must outlive the window.
  HFONT GetFont() const { return reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)); }
  void SetFont(CFont* font, BOOL redraw = TRUE);

  void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
  UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
  void CheckRadioButton(int first, int last, int checked) { ::CheckRadioButton(m_hWnd, first, last, checked); }

  HWND m_hWnd = nullptr;

protected:
  // The handle has gone (WM_NCDESTROY): forget it and the control objects.
  void windowDestroyed();

private:
  CWnd* findControl(HWND control, bool (*isKind)(CWnd*));
  CWnd* keepControl(std::unique_ptr<CWnd> control, HWND window);

  std::vector<std::unique_ptr<CWnd>> controls_;
  CMenu systemMenu_;
  bool attached_ = false;
};

template <class Control>
Control* CWnd::item(int id)
{
  HWND control = ::GetDlgItem(m_hWnd, id);
  if (!control)
    return nullptr;
  if (CWnd* known = findControl(control, [](CWnd* w) { return dynamic_cast<Control*>(w) != nullptr; }))
    return static_cast<Control*>(known);
  return static_cast<Control*>(keepControl(std::unique_ptr<CWnd>(new Control), control));
}

class CButton : public CWnd {
public:
  int GetCheck() const { return static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }
  void SetCheck(int check) { ::SendMessageA(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0); }
};

// A combo box; indexes are -1 (CB_ERR) when there is no entry.
class CComboBox : public CWnd {
public:
  int GetCount() const { return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0)); }
  int GetCurSel() const { return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0)); }
  int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
  int AddString(const char* text);
  int InsertString(int index, const char* text);
  void ResetContent() { SendMessage(CB_RESETCONTENT); }
  int SetItemData(int index, DWORD_PTR data);
  DWORD_PTR GetItemData(int index) const;
  // The first entry that begins with text (case-insensitive), selected.
  int SelectString(int startAfter, const char* text);
  void GetLBText(int index, CString& text) const;
  BOOL LimitText(int maxChars) { return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(maxChars))); }
};

#endif
