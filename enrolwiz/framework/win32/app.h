// CWinApp: the program's one application object and its entry. The program
// defines a single object of a class derived from CWinApp and a WinMain that
// calls AfxWinMain; AfxWinMain runs InitInstance and then, when it returns
// TRUE, the message loop (Run), and always ExitInstance, whose result is the
// process's exit code.
//
// The resource handle is the module whose dialogs, bitmaps, icons and texts
// the program uses: the program's own until AfxSetResourceHandle (or a
// language's resource library, which sets the same handle) replaces it.
#ifndef ENROLWIZ_FRAMEWORK_WIN32_APP_H
#define ENROLWIZ_FRAMEWORK_WIN32_APP_H

#include <windows.h>

#include "framework/command_line.h"

class CWnd;

class CWinApp {
public:
  explicit CWinApp(const char* appName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance() { return TRUE; }
  virtual int Run();
  virtual int ExitInstance() { return exitCode_; }

  // Splits this process's command line and calls info.ParseParam per argument.
  void ParseCommandLine(CCommandLineInfo& info);

  // 3-D controls are the system's own look; kept for the program's start-up order.
  BOOL Enable3dControlsStatic() { return TRUE; }

  // An icon of the resource module, in the large or the small system size.
  HICON LoadIcon(UINT id, bool small = false) const;

  HINSTANCE m_hInstance = nullptr;
  const char* m_lpCmdLine = "";
  int m_nCmdShow = SW_SHOWNORMAL;
  const char* m_pszAppName;
  CWnd* m_pMainWnd = nullptr;

private:
  int exitCode_ = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);

// The resource module when it holds the resource, else the program's own, so
// that a resource library that lacks a dialog or a bitmap still shows one.
HINSTANCE findResourceModule(const char* name, const char* type);

int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

#endif
