// Diagnostic lines to standard output.
#include "app/diagnostics.h"

#include <cstdio>

void writeDiagnosticLine(const CString& line)
{
  fwrite(static_cast<const char*>(line), 1, static_cast<size_t>(line.GetLength()), stdout);
  fputc('\n', stdout);
  fflush(stdout);
}

void writeDiagnosticText(const CString& text)
{
  fwrite(static_cast<const char*>(text), 1, static_cast<size_t>(text.GetLength()), stdout);
}
