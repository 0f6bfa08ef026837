// CException and CFileException in the manner of the framework: thrown as
// pointers, deleted by the catcher with Delete().
#ifndef ENROLWIZ_FRAMEWORK_EXCEPTION_H
#define ENROLWIZ_FRAMEWORK_EXCEPTION_H

#include "cstring.h"

class CException {
public:
  CException() = default;
  virtual ~CException() = default;
  CException(const CException&) = delete;
  CException& operator=(const CException&) = delete;

  void Delete() { delete this; }
  // The exception's message, cut to fit maxLength bytes with its zero. FALSE
  // (and an empty buffer) when it has none.
  virtual BOOL GetErrorMessage(char* buffer, UINT maxLength, UINT* helpContext = nullptr) const;
};

class CFileException : public CException {
public:
  enum Cause {
    none, generic, fileNotFound, badPath, tooManyOpenFiles, accessDenied, invalidFile,
    removeCurrentDir, directoryFull, badSeek, hardIO, sharingViolation, lockViolation,
    diskFull, endOfFile
  };

  CFileException(int cause = none, long osError = -1, const char* fileName = nullptr);

  BOOL GetErrorMessage(char* buffer, UINT maxLength, UINT* helpContext = nullptr) const override;

  // The cause that a C library error number stands for.
  static int ErrnoToException(int errorNumber);

  int m_cause;
  long m_lOsError;
  CString m_strFileName;
};

// Copies text into a caller's buffer of maxLength bytes, cut to fit.
void copyToBuffer(const CString& text, char* buffer, UINT maxLength);

#endif
