// Test-only program: enrolwiz's start-up with the wizard replaced by reports
// raised on demand, so that the UI scenarios can see every kind of report in
// the real program's windows. It is built from the same front end and
// resources as enrolwiz.exe; its arguments, in order, are steps:
//
//   /lang=NAME           the "lang" option (before the language is chosen)
//   load                 the record from the registry, as the splash loads it,
//                        with the language code that the contact page adds
//   country=INDEX        the record's country (whose number the reports use)
//   state=CODE           the record's state code, as the contact page stores it
//   survey=R,I,E         the purchase reason's, industry's and employees' indexes
//   hold-printing        a print then waits, its cancel dialog showing, until
//                        the cancel dialog has gone (someone pressed Cancel),
//                        as if the printer were slow
//   register-later=0|1   the record's register-later flag
//   progress             opens the modeless progress dialog
//   report=ID[:TEXT]     reports message ID (TEXT: the suffix of 125, else the
//                        prefix) and writes "N: report ID returned RESULT,
//                        method M, register later L" (N counts the reports
//                        from 1); a result of 8 reports the same exception
//                        again, as Submit does
//
// The steps run inside a contact page that is the application's main window,
// after the system information is collected as the splash would; "page
// closed" is written when the page closes.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app/diagnostics.h"
#include "app/options.h"
#include "app/reg_exception.h"
#include "app/report_kind.h"
#include "app/win32/wizard_app.h"
#include "data/registration_record.h"
#include "data/survey_codes.h"
#include "data/system_info.h"
#include "res/resource.h"
#include "string_ids.h"
#include "tables/country_table.h"
#include "tables/language_profile.h"
#include "ui/win32/contact_page.h"
#include "ui/win32/progress_dialog.h"
#include "ui/win32/wizard_windows.h"

namespace {

const UINT runSteps = WM_APP + 1;
const UINT holdPrinting = WM_APP + 2;

HHOOK cancelDialogWatch = nullptr;
HWND probePage = nullptr;

// When the print's cancel dialog comes up, asks the page to hold the print:
// the request is handled from the print's message pump (its abort procedure).
LRESULT CALLBACK watchForCancelDialog(int code, WPARAM wParam, LPARAM lParam)
{
  if (code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (reinterpret_cast<UINT_PTR>(::GetPropA(window, dialogTemplateProperty)) == IDD_PRINT_CANCEL)
      ::PostMessageA(probePage, holdPrinting, wParam, 0);
  }
  return ::CallNextHookEx(cancelDialogWatch, code, wParam, lParam);
}

// Hands the messages on, the cancel dialog's through the dialog manager, until
// the cancel dialog has gone (a minute at most).
void holdWhileShowing(HWND cancelDialog)
{
  DWORD until = ::GetTickCount() + 60000;
  MSG message;
  while (::IsWindow(cancelDialog) && static_cast<LONG>(::GetTickCount() - until) < 0) {
    if (!::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
      continue;
    }
    if (!::IsDialogMessageA(cancelDialog, &message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }
}

void writeResult(UINT id, int result)
{
  static int reports = 0;
  RegistrationRecord& record = RegistrationRecord::instance();
  CString line;
  line.Format("%d: report %u returned %d, method %d, register later %d", ++reports, id, result,
              record.registrationMethod(), record.registerLater());
  writeDiagnosticLine(line);
}

void report(const CString& step)
{
  CString what = step.Mid(7);
  int colon = what.Find(':');
  UINT id = static_cast<UINT>(atoi(colon < 0 ? what : what.Left(colon)));
  CRegException* failure;
  if (colon < 0)
    failure = new CRegException(id, nullptr);
  else if (id == IDS_NO_PRINTER_NO_NETWORK)
    failure = newRegExceptionWithSuffix(id, what.Mid(colon + 1));
  else
    failure = newRegExceptionWithPrefix(id, what.Mid(colon + 1));
  int result;
  while ((result = failure->Report()) == reportAgain)
    writeResult(id, result);
  writeResult(id, result);
  failure->Delete();
}

class ProbePage : public ContactPage {
public:
  explicit ProbePage(const std::vector<CString>& steps) : steps_(steps)
  {
    onMessage(runSteps, [this](WPARAM, LPARAM, LRESULT&) {
      run();
      return TRUE;
    });
    onMessage(holdPrinting, [](WPARAM cancelDialog, LPARAM, LRESULT&) {
      holdWhileShowing(reinterpret_cast<HWND>(cancelDialog));
      return TRUE;
    });
  }

protected:
  BOOL OnInitDialog() override
  {
    ContactPage::OnInitDialog();
    PostMessage(runSteps);
    return TRUE;
  }

private:
  void run()
  {
    RegistrationRecord& record = RegistrationRecord::instance();
    for (size_t i = 1; i < steps_.size(); ++i) {
      const CString& step = steps_[i];
      if (step.Left(6) == "/lang=") {
        continue;
      } else if (step == "load") {
        record.load();
        record.setLanguageCode(activeLanguage()->languageCode());
      } else if (step.Left(8) == "country=") {
        int index = atoi(step.Mid(8));
        record.addressView().setCountry(countryName(index), index);
      } else if (step.Left(6) == "state=") {
        record.addressView().setState(step.Mid(6), step.Mid(6));
      } else if (step.Left(7) == "survey=") {
        int reason = -1, industry = -1, employees = -1;
        sscanf(step.Mid(7), "%d,%d,%d", &reason, &industry, &employees);
        record.setPurchaseReason(surveyLabel(purchaseReasons, reason), reason);
        record.setIndustry(surveyLabel(industries, industry), industry);
        record.setEmployees(surveyLabel(employeeCounts, employees), employees);
      } else if (step == "hold-printing") {
        probePage = m_hWnd;
        cancelDialogWatch = ::SetWindowsHookExA(WH_CBT, watchForCancelDialog, nullptr, ::GetCurrentThreadId());
      } else if (step.Left(15) == "register-later=") {
        record.setRegisterLater(atoi(step.Mid(15)));
      } else if (step == "progress") {
        progress_.open(this);
      } else if (step.Left(7) == "report=") {
        report(step);
        if (progress_.m_hWnd == nullptr && wizardWindows().progressDialog() == nullptr && hadProgress())
          writeDiagnosticLine("progress dialog gone");
      } else {
        writeDiagnosticLine("unknown step: " + step);
      }
    }
    writeDiagnosticLine("steps done");
  }

  static CString surveyLabel(const SurveyCodeTable& table, int index)
  {
    const SurveyCode* row = table.row(index);
    return row ? loadText(row->labelId) : CString();
  }

  bool hadProgress() const
  {
    for (const CString& step : steps_)
      if (step == "progress")
        return true;
    return false;
  }

  std::vector<CString> steps_;
  ProgressDialog progress_;
};

class ReportProbeApp : public WizardApp {
protected:
  void parseCommandLine() override
  {
    steps_ = splitCommandLine(::GetCommandLineA());
    for (const CString& step : steps_)
      if (step.Left(6) == "/lang=")
        Options::instance().setLang(step.Mid(6));
  }

  void runWizard() override
  {
    // As the splash does before the pages.
    SystemInfo::instance().collect();
    ProbePage page(steps_);
    page.DoModal();
    writeDiagnosticLine("page closed");
  }

private:
  std::vector<CString> steps_;
};

}  // namespace

ReportProbeApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
  return AfxWinMain(instance, previous, commandLine, show);
}
