// CRegException: every message to the user and every question asked of the
// user travels as one. Throwers construct it with new and throw the pointer;
// the catcher reports it and then deletes it.
#ifndef ENROLWIZ_APP_REG_EXCEPTION_H
#define ENROLWIZ_APP_REG_EXCEPTION_H

#include "framework/exception.h"

// Message ids that the report treats specially.
const UINT connectionFailureMessage = 127;   // network failures: text as prefix
const UINT phoneSequenceMessage = 588;       // no text is loaded for it
const UINT exitConfirmationMessage = 1049;   // the exit confirmation dialog

class CRegException : public CException {
public:
  enum TextPlace { prefix, suffix };

  // Text of id (none for id 588).
  CRegException(UINT messageId, CWnd* focus);
  // Prefix followed by the text of id, or the text of id followed by suffix.
  CRegException(UINT messageId, const CString& text, TextPlace place, CWnd* focus);

  UINT messageId() const { return messageId_; }
  const CString& messageText() const { return messageText_; }
  CWnd* focusControl() const { return focus_; }

  BOOL GetErrorMessage(char* buffer, UINT maxLength, UINT* helpContext = nullptr) const override;

  // Shows the message or asks the question that the message id stands for
  // and returns the user's answer (see app/report_kind.h); never throws.
  // Defined by the Windows front end (app/win32/report.cpp).
  int Report();

private:
  CWnd* focus_;
  UINT messageId_;
  CString messageText_;
};

// The two text constructors by name.
CRegException* newRegExceptionWithPrefix(UINT messageId, const CString& prefix, CWnd* focus = nullptr);
CRegException* newRegExceptionWithSuffix(UINT messageId, const CString& suffix, CWnd* focus = nullptr);

#endif
