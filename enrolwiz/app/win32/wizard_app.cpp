// Start-up and end of enrolwiz.
#include "app/win32/wizard_app.h"

#include <objbase.h>

#include "app/command_line_info.h"
#include "app/options.h"
#include "app/reg_exception.h"
#include "data/registration_record.h"
#include "data/system_info.h"
#include "framework/text_locale.h"
#include "res/resource.h"
#include "string_ids.h"
#include "tables/language_profile.h"
#include "ui/win32/bitmaps.h"
#include "ui/win32/splash_dialog.h"
#include "ui/win32/wizard_windows.h"

namespace {

// The process-wide singletons go at process exit, in this order.
struct SingletonReaper {
  ~SingletonReaper()
  {
    RegistrationRecord::deleteInstance();
    SurveyDescriptor::deleteInstance();
    SystemInfo::deleteInstance();
  }
} reaper;

}  // namespace

WizardApp::WizardApp() : CWinApp("enrolwiz") {}

WizardApp& wizardApp()
{
  return *static_cast<WizardApp*>(AfxGetApp());
}

BOOL WizardApp::InitInstance()
{
  Enable3dControlsStatic();
  createPalette();
  parseCommandLine();
  chooseLanguage();
  try {
    if (FAILED(::CoInitialize(nullptr)))
      throw new CRegException(IDS_COM_FAILED, nullptr);
    runWizard();
  } catch (CRegException* failure) {
    failure->Report();
    failure->Delete();
  }
  return FALSE;
}

int WizardApp::ExitInstance()
{
  ::CoUninitialize();
  return CWinApp::ExitInstance();
}

void WizardApp::createPalette()
{
  paletteOfBitmap(IDB_SPLASH, palette_);
  wizardWindows().setPalette(palette_.m_hObject ? &palette_ : nullptr);
}

void WizardApp::parseCommandLine()
{
  WizardCommandLineInfo arguments(Options::instance());
  ParseCommandLine(arguments);
}

void WizardApp::chooseLanguage()
{
  CString lang = Options::instance().lang();
  if (lang != "NotSpecified") {
    int id = languageId(lang);
    if (id >= 0) {
      selectLocale(lang);
      setActiveLanguage(makeLanguageProfile(id));
      return;
    }
  }
  CString userDefault = selectLocale("");
  selectLocale(userDefault);
  activeLanguage();
}

void WizardApp::runWizard()
{
  SplashDialog splash;
  m_pMainWnd = &splash;
  splash.DoModal();
  m_pMainWnd = nullptr;
}
