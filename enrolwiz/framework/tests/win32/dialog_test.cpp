// The framework's dialogs under Windows: data exchange between members and
// controls, the modal loop with its owner, nesting and PreTranslateMessage,
// handlers per control and per message, modeless dialogs, resource modules.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "framework/resources.h"
#include "framework/win32/app.h"
#include "framework/win32/data_exchange.h"
#include "test_dialogs.h"

namespace {

const UINT endWith = WM_APP + 1;   // wParam: the dialog's result

CString textOf(HWND window)
{
  char buffer[256] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

// Members of every kind that data exchange serves.
class ExchangeDialog : public CDialog {
public:
  ExchangeDialog() : CDialog(IDD_EXCHANGE)
  {
    onMessage(endWith, [this](WPARAM wParam, LPARAM, LRESULT&) {
      EndDialog(static_cast<int>(wParam));
      return TRUE;
    });
  }

  CString name = "Ann";
  int agree = 1;
  int choice = 2;
  int fixedIndex = 1;
  CString fixedText;
  CString freeText = "Zed";
  CString note = "note";
  CComboBox fixedList;
  bool useFixedText = false;

protected:
  BOOL OnInitDialog() override
  {
    HWND fixed = ::GetDlgItem(m_hWnd, IDC_FIXED_LIST);
    HWND free = ::GetDlgItem(m_hWnd, IDC_FREE_LIST);
    for (const char* entry : {"Alpha", "Beta", "Gamma"}) {
      ::SendMessageA(fixed, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
      ::SendMessageA(free, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
    return CDialog::OnInitDialog();
  }

  void DoDataExchange(CDataExchange* exchange) override
  {
    DDX_Text(exchange, IDC_NAME, name);
    DDV_MaxChars(exchange, name, 5);
    DDX_Check(exchange, IDC_AGREE, agree);
    DDX_Radio(exchange, IDC_FIRST_CHOICE, choice);
    if (useFixedText)
      DDX_CBString(exchange, IDC_FIXED_LIST, fixedText);
    else
      DDX_CBIndex(exchange, IDC_FIXED_LIST, fixedIndex);
    DDX_CBString(exchange, IDC_FREE_LIST, freeText);
    DDX_Text(exchange, IDC_NOTE, note);
    DDX_Control(exchange, IDC_FIXED_LIST, fixedList);
  }
};

HWND item(CDialog& dialog, int id)
{
  return ::GetDlgItem(dialog.m_hWnd, id);
}

TEST(DataExchange, LoadsMembersIntoControls)
{
  ExchangeDialog dialog;
  ASSERT_TRUE(dialog.Create());
  EXPECT_EQ(textOf(item(dialog, IDC_NAME)), "Ann");
  EXPECT_EQ(::SendMessageA(item(dialog, IDC_NAME), EM_GETLIMITTEXT, 0, 0), 5);
  EXPECT_EQ(::IsDlgButtonChecked(dialog.m_hWnd, IDC_AGREE), BST_CHECKED);
  EXPECT_EQ(::IsDlgButtonChecked(dialog.m_hWnd, IDC_FIRST_CHOICE), BST_UNCHECKED);
  EXPECT_EQ(::IsDlgButtonChecked(dialog.m_hWnd, IDC_SECOND_CHOICE), BST_UNCHECKED);
  EXPECT_EQ(::IsDlgButtonChecked(dialog.m_hWnd, IDC_THIRD_CHOICE), BST_CHECKED);
  EXPECT_EQ(::SendMessageA(item(dialog, IDC_FIXED_LIST), CB_GETCURSEL, 0, 0), 1);
  // Not an entry of the drop-down: the text is shown all the same.
  EXPECT_EQ(::SendMessageA(item(dialog, IDC_FREE_LIST), CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(textOf(item(dialog, IDC_FREE_LIST)), "Zed");
  EXPECT_EQ(textOf(item(dialog, IDC_NOTE)), "note");
  EXPECT_EQ(dialog.fixedList.m_hWnd, item(dialog, IDC_FIXED_LIST));
  EXPECT_EQ(dialog.fixedList.GetCount(), 3);

  // A radio index of -1 clears the group and leaves the next group alone.
  ::CheckDlgButton(dialog.m_hWnd, IDC_OTHER_GROUP, BST_CHECKED);
  dialog.choice = -1;
  dialog.UpdateData(FALSE);
  for (int id : {IDC_FIRST_CHOICE, IDC_SECOND_CHOICE, IDC_THIRD_CHOICE})
    EXPECT_EQ(::IsDlgButtonChecked(dialog.m_hWnd, id), BST_UNCHECKED) << id;
  EXPECT_EQ(::IsDlgButtonChecked(dialog.m_hWnd, IDC_OTHER_GROUP), BST_CHECKED);
}

TEST(DataExchange, SavesControlsIntoMembers)
{
  ExchangeDialog dialog;
  ASSERT_TRUE(dialog.Create());
  ::SetWindowTextA(item(dialog, IDC_NAME), "Bob");
  ::CheckDlgButton(dialog.m_hWnd, IDC_AGREE, BST_UNCHECKED);
  ::CheckRadioButton(dialog.m_hWnd, IDC_FIRST_CHOICE, IDC_THIRD_CHOICE, IDC_SECOND_CHOICE);
  ::SendMessageA(item(dialog, IDC_FIXED_LIST), CB_SETCURSEL, 2, 0);
  ::SendMessageA(item(dialog, IDC_FREE_LIST), CB_SETCURSEL, 0, 0);
  ASSERT_TRUE(dialog.UpdateData(TRUE));
  EXPECT_EQ(dialog.name, "Bob");
  EXPECT_EQ(dialog.agree, 0);
  EXPECT_EQ(dialog.choice, 1);
  EXPECT_EQ(dialog.fixedIndex, 2);
  EXPECT_EQ(dialog.freeText, "Alpha");

  // Nothing checked: -1. A drop-down list by text: the selected entry's.
  ::CheckDlgButton(dialog.m_hWnd, IDC_SECOND_CHOICE, BST_UNCHECKED);
  dialog.useFixedText = true;
  dialog.UpdateData(TRUE);
  EXPECT_EQ(dialog.choice, -1);
  EXPECT_EQ(dialog.fixedText, "Gamma");

  // Loading by text selects the first entry that begins with it.
  dialog.fixedText = "be";
  dialog.UpdateData(FALSE);
  EXPECT_EQ(::SendMessageA(item(dialog, IDC_FIXED_LIST), CB_GETCURSEL, 0, 0), 1);
  dialog.fixedText = "none";
  dialog.UpdateData(FALSE);
  dialog.UpdateData(TRUE);
  EXPECT_EQ(dialog.fixedText, "Beta");
}

TEST(CDialog, KeepsControlObjectsAndTheTemplateId)
{
  ExchangeDialog dialog;
  ASSERT_TRUE(dialog.Create());
  CWnd* name = dialog.GetDlgItem(IDC_NAME);
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(dialog.GetDlgItem(IDC_NAME), name);
  EXPECT_EQ(name->m_hWnd, item(dialog, IDC_NAME));
  EXPECT_EQ(dialog.GetDlgItem(4711), nullptr);
  CComboBox* list = dialog.item<CComboBox>(IDC_FREE_LIST);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->GetCount(), 3);
  EXPECT_EQ(dialog.item<CComboBox>(IDC_FREE_LIST), list);

  HWND window = dialog.m_hWnd;
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(::GetPropA(window, dialogTemplateProperty)), IDD_EXCHANGE);
  EXPECT_EQ(dialogOfWindow(item(dialog, IDC_NAME)), &dialog);
  dialog.DestroyWindow();
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_EQ(name->m_hWnd, nullptr);
  EXPECT_EQ(dialogOfWindow(window), nullptr);
}

// A dialog that runs a list of steps, one posted message after the other.
class ScriptedDialog : public CDialog {
public:
  ScriptedDialog(std::vector<CString>& log, const char* name, CWnd* parent = nullptr)
      : CDialog(IDD_EXCHANGE, parent), log_(log), name_(name)
  {
    onMessage(endWith, [this](WPARAM wParam, LPARAM, LRESULT&) {
      log_.push_back(name_ + " ends");
      EndDialog(static_cast<int>(wParam));
      return TRUE;
    });
    onCommand(IDC_NEST, [this] {
      log_.push_back(name_ + " nests");
      ScriptedDialog inner(log_, "inner", this);
      bool ownerDisabled = false;
      inner.onInit = [&] {
        ownerDisabled = !IsWindowEnabled();
        inner.PostMessage(endWith, 7);
      };
      INT_PTR result = inner.DoModal();
      CString line;
      line.Format("inner gave %d, outer disabled meanwhile %d, enabled now %d", static_cast<int>(result),
                  ownerDisabled ? 1 : 0, IsWindowEnabled() ? 1 : 0);
      log_.push_back(line);
      PostMessage(endWith, 42);
    });
    onMessage(WM_APP + 2, [](WPARAM, LPARAM, LRESULT& result) {
      result = 1234;
      return TRUE;
    });
    onMessage(WM_APP + 3, [](WPARAM, LPARAM, LRESULT& result) {
      result = 99;
      return FALSE;
    });
  }

  std::function<void()> onInit;
  bool dropEscape = false;

  BOOL PreTranslateMessage(MSG* message) override
  {
    if (dropEscape && message->message == WM_KEYDOWN && message->wParam == VK_ESCAPE)
      return TRUE;
    return CDialog::PreTranslateMessage(message);
  }

protected:
  BOOL OnInitDialog() override
  {
    CDialog::OnInitDialog();
    if (onInit)
      onInit();
    return TRUE;
  }

private:
  std::vector<CString>& log_;
  CString name_;
};

TEST(CDialog, RunsNestedModalLoopsAndDisablesTheOwnerMeanwhile)
{
  CWinApp app;
  std::vector<CString> log;
  ExchangeDialog main;
  ASSERT_TRUE(main.Create());
  app.m_pMainWnd = &main;
  ScriptedDialog outer(log, "outer");
  bool ownerDisabled = false;
  outer.onInit = [&] {
    ownerDisabled = !main.IsWindowEnabled();
    outer.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_NEST, BN_CLICKED), 0);
  };
  EXPECT_EQ(outer.DoModal(), 42);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(main.IsWindowEnabled());
  EXPECT_EQ(outer.m_hWnd, nullptr);
  std::vector<CString> expected = {"outer nests", "inner ends", "inner gave 7, outer disabled meanwhile 1, enabled now 1",
                                  "outer ends"};
  EXPECT_EQ(log, expected);
  app.m_pMainWnd = nullptr;
}

TEST(CDialog, ShowsEveryQueuedMessageToPreTranslateMessageFirst)
{
  std::vector<CString> log;
  for (bool drop : {true, false}) {
    ScriptedDialog dialog(log, "dialog");
    dialog.dropEscape = drop;
    dialog.onInit = [&dialog] {
      HWND name = ::GetDlgItem(dialog.m_hWnd, IDC_NAME);
      ::PostMessageA(name, WM_KEYDOWN, VK_ESCAPE, 0);
      dialog.PostMessage(endWith, 5);
    };
    // Escape that gets through is the dialog manager's Cancel.
    EXPECT_EQ(dialog.DoModal(), drop ? 5 : IDCANCEL) << drop;
  }
}

TEST(CDialog, AnswersMessagesThroughItsHandlers)
{
  std::vector<CString> log;
  ScriptedDialog dialog(log, "dialog");
  ASSERT_TRUE(dialog.Create());
  EXPECT_EQ(dialog.SendMessage(WM_APP + 2), 1234);
  // A handler that declines leaves the message to the default handling.
  EXPECT_EQ(dialog.SendMessage(WM_APP + 3), 0);
  // Without a handler, OK ends the dialog through OnOK.
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_FALSE(dialog.IsWindowVisible());
}

TEST(CWinApp, TakesTemplatesFromTheResourceModuleOrTheProgram)
{
  HINSTANCE program = AfxGetInstanceHandle();
  EXPECT_EQ(AfxGetResourceHandle(), program);
  // A module without the template: the program's own is used.
  HINSTANCE library = ::GetModuleHandleA("kernel32.dll");
  AfxSetResourceHandle(library);
  EXPECT_EQ(resourceModule(), library);
  EXPECT_EQ(findResourceModule(MAKEINTRESOURCEA(IDD_EXCHANGE), reinterpret_cast<const char*>(RT_DIALOG)), program);
  std::vector<CString> log;
  ScriptedDialog dialog(log, "dialog");
  dialog.onInit = [&dialog] { dialog.PostMessage(endWith, 3); };
  EXPECT_EQ(dialog.DoModal(), 3);
  AfxSetResourceHandle(nullptr);
  EXPECT_EQ(AfxGetResourceHandle(), program);
}

}  // namespace
