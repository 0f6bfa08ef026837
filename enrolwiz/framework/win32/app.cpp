// The application object and the program's entry.
#include "framework/win32/app.h"

#include "framework/resources.h"
#include "framework/win32/window.h"

namespace {

CWinApp* theApplication = nullptr;

}  // namespace

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName ? appName : "")
{
  theApplication = this;
}

CWinApp::~CWinApp()
{
  if (theApplication == this)
    theApplication = nullptr;
}

int CWinApp::Run()
{
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  exitCode_ = static_cast<int>(message.wParam);
  return ExitInstance();
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
  parseCommandLine(::GetCommandLineA(), info);
}

HICON CWinApp::LoadIcon(UINT id, bool small) const
{
  const char* name = MAKEINTRESOURCEA(id);
  return static_cast<HICON>(::LoadImageA(findResourceModule(name, reinterpret_cast<const char*>(RT_GROUP_ICON)),
                                         name, IMAGE_ICON, ::GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON),
                                         ::GetSystemMetrics(small ? SM_CYSMICON : SM_CYICON), LR_DEFAULTCOLOR));
}

CWinApp* AfxGetApp()
{
  return theApplication;
}

CWnd* AfxGetMainWnd()
{
  return theApplication ? theApplication->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
  return static_cast<HINSTANCE>(programModule());
}

HINSTANCE AfxGetResourceHandle()
{
  return static_cast<HINSTANCE>(resourceModule());
}

void AfxSetResourceHandle(HINSTANCE module)
{
  setResourceModule(module);
}

HINSTANCE findResourceModule(const char* name, const char* type)
{
  HINSTANCE resources = AfxGetResourceHandle();
  if (::FindResourceA(resources, name, type))
    return resources;
  return AfxGetInstanceHandle();
}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show)
{
  CWinApp* app = AfxGetApp();
  if (!app)
    return -1;
  app->m_hInstance = instance;
  app->m_lpCmdLine = commandLine ? commandLine : "";
  app->m_nCmdShow = show;
  if (!app->InitInstance())
    return app->ExitInstance();
  return app->Run();
}
