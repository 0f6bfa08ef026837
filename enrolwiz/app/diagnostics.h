// Diagnostic output of enrolwiz: one line per event on the standard output
// stream, each ended by an end of line that flushes the stream. Always on.
#ifndef ENROLWIZ_APP_DIAGNOSTICS_H
#define ENROLWIZ_APP_DIAGNOSTICS_H

#include "framework/cstring.h"

void writeDiagnosticLine(const CString& line);

// Text without an end of line and without a flush (parts of one entry).
void writeDiagnosticText(const CString& text);

#endif
