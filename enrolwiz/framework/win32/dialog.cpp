// CDialog: templates, the dialog procedure, handlers and the modal loop.
#include "framework/win32/dialog.h"

#include "framework/win32/app.h"
#include "framework/win32/data_exchange.h"

namespace {

std::map<HWND, CDialog*>& liveDialogs()
{
  static std::map<HWND, CDialog*> dialogs;
  return dialogs;
}

// Messages whose result a dialog procedure returns itself instead of in
// DWLP_MSGRESULT.
bool returnsResultDirectly(UINT message)
{
  switch (message) {
  case WM_CHARTOITEM:
  case WM_COMPAREITEM:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLORDLG:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
  case WM_CTLCOLORSCROLLBAR:
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORMSGBOX:
  case WM_INITDIALOG:
  case WM_QUERYDRAGICON:
  case WM_VKEYTOITEM:
    return true;
  default:
    return false;
  }
}

}  // namespace

CDialog* dialogOfWindow(HWND window)
{
  if (!window)
    return nullptr;
  HWND root = ::GetAncestor(window, GA_ROOT);
  auto found = liveDialogs().find(root ? root : window);
  return found == liveDialogs().end() ? nullptr : found->second;
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_pParentWnd(parent), templateId_(templateId) {}

CDialog::~CDialog()
{
  // No handler of the derived class may run once it is gone.
  if (m_hWnd) {
    liveDialogs().erase(m_hWnd);
    ::SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
    HWND window = m_hWnd;
    released();
    ::DestroyWindow(window);
  }
}

void CDialog::onMessage(UINT message, MessageHandler handler)
{
  messageHandlers_[message] = std::move(handler);
}

void CDialog::onCommand(UINT id, std::function<void()> handler)
{
  commandHandlers_[{id, BN_CLICKED}] = std::move(handler);
}

void CDialog::onNotify(UINT id, UINT code, std::function<void()> handler)
{
  commandHandlers_[{id, code}] = std::move(handler);
}

HWND CDialog::ownerWindow() const
{
  HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
  if (!owner) {
    CWnd* main = AfxGetMainWnd();
    owner = main && main != this ? main->m_hWnd : nullptr;
  }
  return owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
}

INT_PTR CDialog::DoModal()
{
  HWND owner = ownerWindow();
  bool enableOwner = owner && ::IsWindowEnabled(owner);
  if (enableOwner)
    ::EnableWindow(owner, FALSE);

  modal_ = true;
  continueModal_ = true;
  result_ = -1;
  const char* name = MAKEINTRESOURCEA(templateId_);
  HWND window = ::CreateDialogParamA(findResourceModule(name, reinterpret_cast<const char*>(RT_DIALOG)), name,
                                     owner, dialogProcedure, reinterpret_cast<LPARAM>(this));
  if (window) {
    if (continueModal_ && !::IsWindowVisible(window))
      ::ShowWindow(window, SW_SHOWNORMAL);
    runModalLoop();
    if (m_hWnd)
      ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  if (enableOwner)
    ::EnableWindow(owner, TRUE);
  if (owner && m_hWnd && ::GetActiveWindow() == m_hWnd)
    ::SetActiveWindow(owner);
  DestroyWindow();
  modal_ = false;
  return result_;
}

void CDialog::runModalLoop()
{
  MSG message;
  while (continueModal_ && m_hWnd) {
    BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0) {
      // WM_QUIT ends every modal loop on its way to the outermost one.
      if (got == 0)
        ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    CDialog* target = dialogOfWindow(message.hwnd);
    if (target && target->PreTranslateMessage(&message))
      continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

BOOL CDialog::Create(CWnd* parent)
{
  if (parent)
    m_pParentWnd = parent;
  modal_ = false;
  const char* name = MAKEINTRESOURCEA(templateId_);
  HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
  return ::CreateDialogParamA(findResourceModule(name, reinterpret_cast<const char*>(RT_DIALOG)), name, owner,
                              dialogProcedure, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(int result)
{
  result_ = result;
  if (modal_) {
    continueModal_ = false;
    ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
  }
  if (m_hWnd)
    ::EndDialog(m_hWnd, result);
}

void CDialog::GotoDlgCtrl(CWnd* control)
{
  if (control && control->m_hWnd)
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), TRUE);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
  CDataExchange exchange(this, saveAndValidate);
  DoDataExchange(&exchange);
  return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* message)
{
  return m_hWnd && ::IsDialogMessageA(m_hWnd, message);
}

BOOL CDialog::OnInitDialog()
{
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK()
{
  if (UpdateData(TRUE))
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
  EndDialog(IDCANCEL);
}

void CDialog::released()
{
  for (CWnd* control : boundControls_)
    control->Detach();
  boundControls_.clear();
  windowDestroyed();
}

INT_PTR CALLBACK CDialog::dialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  CDialog* dialog;
  if (message == WM_INITDIALOG) {
    dialog = reinterpret_cast<CDialog*>(lParam);
    ::SetWindowLongPtrA(window, DWLP_USER, lParam);
    dialog->m_hWnd = window;
    liveDialogs()[window] = dialog;
    ::SetPropA(window, dialogTemplateProperty,
               reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(dialog->templateId_)));
  } else {
    dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
  }
  if (!dialog)
    return FALSE;
  if (message == WM_NCDESTROY) {
    ::RemovePropA(window, dialogTemplateProperty);
    ::SetWindowLongPtrA(window, DWLP_USER, 0);
    liveDialogs().erase(window);
    dialog->released();
    dialog->continueModal_ = false;
    return FALSE;
  }
  return dialog->handle(message, wParam, lParam);
}

INT_PTR CDialog::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_INITDIALOG) {
    OnCreate();
    return OnInitDialog();
  }
  if (message == WM_COMMAND) {
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    auto found = commandHandlers_.find({id, code});
    if (found != commandHandlers_.end()) {
      found->second();
      return TRUE;
    }
    if (code == BN_CLICKED && id == IDOK) {
      OnOK();
      return TRUE;
    }
    if (code == BN_CLICKED && id == IDCANCEL) {
      OnCancel();
      return TRUE;
    }
    return FALSE;
  }
  auto found = messageHandlers_.find(message);
  if (found == messageHandlers_.end())
    return FALSE;
  LRESULT result = 0;
  if (!found->second(wParam, lParam, result))
    return FALSE;
  if (returnsResultDirectly(message))
    return static_cast<INT_PTR>(result);
  ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
  return TRUE;
}
