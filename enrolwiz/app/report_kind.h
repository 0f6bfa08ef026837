// What the report of a message id shows (CRegException::Report):
// - warning: the text in a message box with a warning icon and OK (IDOK);
// - question: the text with a warning icon, Yes and No (IDYES or IDNO);
// - connectionFailure (127): the connection-failure dialog and what follows
//   (IDOK, IDCANCEL, or reportAgain when the dialog is to be shown again);
// - phoneSequence (588): the phone registration pages (the last dialog's result);
// - exitConfirmation (1049): the exit confirmation dialog (IDYES or IDNO);
// - none: nothing is shown (result 0).
// Message boxes have no owner and the caption of text 564.
#ifndef ENROLWIZ_APP_REPORT_KIND_H
#define ENROLWIZ_APP_REPORT_KIND_H

#include "framework/types.h"

enum class ReportKind { none, warning, question, connectionFailure, phoneSequence, exitConfirmation };

ReportKind reportKind(UINT messageId);

// The report's result that asks its caller to report the same exception again.
const int reportAgain = 8;

#endif
