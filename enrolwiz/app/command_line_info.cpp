// The argument pass of enrolwiz.
#include "app/command_line_info.h"

#include "app/diagnostics.h"
#include "app/options.h"

WizardCommandLineInfo::WizardCommandLineInfo(Options& options) : options_(options) {}

void WizardCommandLineInfo::ParseParam(const char* param, BOOL flag, BOOL last)
{
  if (flag)
    parseSwitch(param);
  else
    products_.AddTail(param);
  if (last)
    writeProductList(products_);
}

void WizardCommandLineInfo::parseSwitch(const CString& text)
{
  int equals = text.Find('=');
  if (equals < 0) {
    writeDiagnosticLine("Unknown Parameter: " + text);
    return;
  }
  CString value = text.Mid(equals + 1);
  value.MakeLower();
  if (!options_.set(text.Left(equals), value))
    writeDiagnosticLine("Unknown Parameter: " + text);
}
