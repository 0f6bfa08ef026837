// The kinds of report by message id.
#include "app/report_kind.h"

#include "app/reg_exception.h"

ReportKind reportKind(UINT messageId)
{
  static const UINT questions[] = {115, 123, 136, 601, 602, 603};
  static const UINT warnings[] = {122, 124, 125, 133, 134, 605, 606};
  if (messageId >= 102 && messageId <= 114)
    return ReportKind::warning;
  for (UINT id : warnings)
    if (messageId == id)
      return ReportKind::warning;
  for (UINT id : questions)
    if (messageId == id)
      return ReportKind::question;
  if (messageId == connectionFailureMessage)
    return ReportKind::connectionFailure;
  if (messageId == phoneSequenceMessage)
    return ReportKind::phoneSequence;
  if (messageId == exitConfirmationMessage)
    return ReportKind::exitConfirmation;
  return ReportKind::none;
}
