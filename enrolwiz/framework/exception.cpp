// CException and CFileException: messages from the string table.
#include "exception.h"

#include <cerrno>
#include <cstring>

#include "string_ids.h"

namespace {

UINT fileExceptionTextId(int cause)
{
  switch (cause) {
  case CFileException::none:
    return IDS_FILE_NONE;
  case CFileException::fileNotFound:
    return IDS_FILE_NOT_FOUND;
  case CFileException::badPath:
    return IDS_FILE_BAD_PATH;
  case CFileException::tooManyOpenFiles:
    return IDS_FILE_TOO_MANY_OPEN;
  case CFileException::accessDenied:
    return IDS_FILE_ACCESS_DENIED;
  case CFileException::invalidFile:
    return IDS_FILE_INVALID;
  case CFileException::badSeek:
    return IDS_FILE_BAD_SEEK;
  case CFileException::hardIO:
    return IDS_FILE_HARD_IO;
  case CFileException::diskFull:
    return IDS_FILE_DISK_FULL;
  case CFileException::endOfFile:
    return IDS_FILE_END_OF_FILE;
  default:
    return IDS_FILE_GENERIC;
  }
}

}  // namespace

void copyToBuffer(const CString& text, char* buffer, UINT maxLength)
{
  if (!buffer || maxLength == 0)
    return;
  size_t n = static_cast<size_t>(text.GetLength());
  if (n > maxLength - 1)
    n = maxLength - 1;
  memcpy(buffer, static_cast<const char*>(text), n);
  buffer[n] = '\0';
}

BOOL CException::GetErrorMessage(char* buffer, UINT maxLength, UINT* helpContext) const
{
  if (helpContext)
    *helpContext = 0;
  copyToBuffer(CString(), buffer, maxLength);
  return FALSE;
}

CFileException::CFileException(int cause, long osError, const char* fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName)
{
}

BOOL CFileException::GetErrorMessage(char* buffer, UINT maxLength, UINT* helpContext) const
{
  if (helpContext)
    *helpContext = 0;
  UINT id = fileExceptionTextId(m_cause);
  CString pattern = loadText(id);
  CString name = m_strFileName.IsEmpty() ? loadText(IDS_FILE_UNKNOWN_NAME) : m_strFileName;
  // The texts name the file where they hold "%1".
  CString message;
  int at = pattern.Find("%1");
  if (at >= 0)
    message = pattern.Left(at) + name + pattern.Mid(at + 2);
  else
    message = pattern;
  copyToBuffer(message, buffer, maxLength);
  return TRUE;
}

int CFileException::ErrnoToException(int errorNumber)
{
  switch (errorNumber) {
  case ENOENT:
    return fileNotFound;
  case ENOTDIR:
  case ENAMETOOLONG:
    return badPath;
  case EMFILE:
  case ENFILE:
    return tooManyOpenFiles;
  case EACCES:
  case EPERM:
  case EROFS:
  case EISDIR:
    return accessDenied;
  case EBADF:
    return invalidFile;
  case ESPIPE:
  case EINVAL:
    return badSeek;
  case EIO:
    return hardIO;
  case ENOSPC:
    return diskFull;
  default:
    return generic;
  }
}
