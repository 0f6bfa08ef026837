// CRegException: the error and question carrier of enrolwiz.
#include "app/reg_exception.h"

CRegException::CRegException(UINT messageId, CWnd* focus)
    : focus_(focus), messageId_(messageId)
{
  if (messageId != phoneSequenceMessage)
    messageText_ = loadText(messageId);
}

CRegException::CRegException(UINT messageId, const CString& text, TextPlace place, CWnd* focus)
    : focus_(focus), messageId_(messageId)
{
  messageText_ = place == prefix ? text + loadText(messageId) : loadText(messageId) + text;
}

BOOL CRegException::GetErrorMessage(char* buffer, UINT maxLength, UINT* helpContext) const
{
  if (helpContext)
    *helpContext = 0;
  copyToBuffer(messageText_, buffer, maxLength);
  return TRUE;
}

CRegException* newRegExceptionWithPrefix(UINT messageId, const CString& prefix, CWnd* focus)
{
  return new CRegException(messageId, prefix, CRegException::prefix, focus);
}

CRegException* newRegExceptionWithSuffix(UINT messageId, const CString& suffix, CWnd* focus)
{
  return new CRegException(messageId, suffix, CRegException::suffix, focus);
}
