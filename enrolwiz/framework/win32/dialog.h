// CDialog: a dialog made from a template of the resource module, modal
// (DoModal runs the program's own modal loop, so that PreTranslateMessage sees
// every message first) or modeless (Create). Handlers are registered per
// message, per control and per notification, usually in the constructor of
// the derived class; a message without a handler gets the dialog manager's
// default. Data exchange between members and controls: DoDataExchange with the
// DDX_ functions of data_exchange.h, run by UpdateData and OnInitDialog.
//
// Dialog procedures receive no WM_CREATE; OnCreate runs first thing on
// WM_INITDIALOG, when the window has its created size and position.
//
// Every dialog carries its template id as the window property named by
// dialogTemplateProperty, so that tools outside the process can tell which
// dialog a window is.
#ifndef ENROLWIZ_FRAMEWORK_WIN32_DIALOG_H
#define ENROLWIZ_FRAMEWORK_WIN32_DIALOG_H

#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "framework/win32/window.h"

class CDataExchange;

const char dialogTemplateProperty[] = "EnrolwizDialogTemplate";

class CDialog : public CWnd {
public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;

  // Runs the dialog until EndDialog; its owner (the parent, else the main
  // window) is disabled meanwhile. -1 when the template cannot be loaded.
  virtual INT_PTR DoModal();
  // Creates the dialog modeless; shown when the template has WS_VISIBLE.
  BOOL Create(CWnd* parent = nullptr);
  void EndDialog(int result);
  // TRUE while the modal loop of DoModal runs on: FALSE once EndDialog was
  // called or the window went, so that a handler that waited in a nested
  // loop (a question, a dialog) can tell that its dialog was closed meanwhile.
  BOOL ContinueModal() const { return modal_ && continueModal_ && m_hWnd; }

  UINT templateId() const { return templateId_; }
  // Moves the focus to a control as the Tab key would (WM_NEXTDLGCTL).
  void GotoDlgCtrl(CWnd* control);
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  // First sight of every message that the program's modal loops take from
  // the queue for this dialog or its controls; TRUE when it was handled here
  // (the default lets the dialog manager handle keyboard navigation).
  virtual BOOL PreTranslateMessage(MSG* message);

  // A handler returns FALSE to leave the message to the default handling;
  // result is the message's result when it returns TRUE.
  using MessageHandler = std::function<BOOL(WPARAM wParam, LPARAM lParam, LRESULT& result)>;

  // A member control object bound by DDX_Control: released when the window goes.
  void bindControl(CWnd* control) { boundControls_.push_back(control); }

protected:
  virtual void OnCreate() {}
  // Runs the data exchange into the controls; TRUE lets the system set the focus.
  virtual BOOL OnInitDialog();
  virtual void OnOK();       // UpdateData(TRUE), then EndDialog(IDOK)
  virtual void OnCancel();   // EndDialog(IDCANCEL)
  virtual void DoDataExchange(CDataExchange*) {}

  void onMessage(UINT message, MessageHandler handler);
  // WM_COMMAND from a button (BN_CLICKED) or a menu item with this id.
  void onCommand(UINT id, std::function<void()> handler);
  // WM_COMMAND with the notification code from the control id (CBN_SELCHANGE, EN_CHANGE).
  void onNotify(UINT id, UINT code, std::function<void()> handler);

  CWnd* m_pParentWnd;

private:
  static INT_PTR CALLBACK dialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
  void runModalLoop();
  HWND ownerWindow() const;
  void released();

  UINT templateId_;
  std::map<UINT, MessageHandler> messageHandlers_;
  std::map<std::pair<UINT, UINT>, std::function<void()>> commandHandlers_;
  std::vector<CWnd*> boundControls_;
  bool modal_ = false;
  bool continueModal_ = false;
  INT_PTR result_ = -1;
};

// The program's dialog that owns a window (the dialog itself or a control of
// it), or null.
CDialog* dialogOfWindow(HWND window);

#endif
