// CFile and CStdioFile over stdio streams.
#include "file.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

// The stdio mode for the framework's open flags; create without truncation
// opens an existing file first. Streams are binary on every platform: the
// text-mode line ends (CR LF) are CStdioFile's own work, so files are the same everywhere.
const char* streamMode(UINT flags, bool existing)
{
  bool create = (flags & CFile::modeCreate) != 0;
  bool keep = (flags & CFile::modeNoTruncate) != 0;
  if (flags & CFile::modeReadWrite)
    return (!create || (keep && existing)) ? "r+b" : "w+b";
  if (flags & CFile::modeWrite)
    return (!create || (keep && existing)) ? "r+b" : "wb";
  return "rb";
}

}  // namespace

CFile::CFile(const char* fileName, UINT openFlags)
{
  CFileException error;
  if (!Open(fileName, openFlags | typeBinary, &error))
    throw new CFileException(error.m_cause, error.m_lOsError, fileName);
}

CFile::~CFile()
{
  if (stream_)
    fclose(stream_);
}

BOOL CFile::Open(const char* fileName, UINT openFlags, CFileException* error)
{
  if (stream_)
    Abort();
  path_ = fileName;
  textMode_ = (openFlags & typeText) != 0;
  bool existing = false;
  if ((openFlags & modeCreate) && (openFlags & modeNoTruncate)) {
    FILE* probe = fopen(fileName, "rb");
    existing = probe != nullptr;
    if (probe)
      fclose(probe);
  }
  stream_ = fopen(fileName, streamMode(openFlags, existing));
  if (!stream_) {
    if (error) {
      error->m_cause = CFileException::ErrnoToException(errno);
      error->m_lOsError = errno;
      error->m_strFileName = fileName;
    }
    return FALSE;
  }
  return TRUE;
}

void CFile::raise(int cause, int errorNumber) const
{
  throw new CFileException(cause, errorNumber, path_);
}

UINT CFile::Read(void* buffer, UINT count)
{
  if (!stream_)
    raise(CFileException::invalidFile, EBADF);
  size_t got = fread(buffer, 1, count, stream_);
  if (got < count && ferror(stream_))
    raise(CFileException::ErrnoToException(errno), errno);
  return static_cast<UINT>(got);
}

void CFile::Write(const void* buffer, UINT count)
{
  if (!stream_)
    raise(CFileException::invalidFile, EBADF);
  // Reads and writes on one stream need a positioning call between them.
  fseek(stream_, 0, SEEK_CUR);
  if (fwrite(buffer, 1, count, stream_) != count)
    raise(CFileException::ErrnoToException(errno), errno);
}

long CFile::Seek(long offset, UINT from)
{
  if (!stream_)
    raise(CFileException::invalidFile, EBADF);
  int whence = from == end ? SEEK_END : from == current ? SEEK_CUR : SEEK_SET;
  if (fseek(stream_, offset, whence) != 0)
    raise(CFileException::badSeek, errno);
  return ftell(stream_);
}

long CFile::GetPosition() const
{
  if (!stream_)
    raise(CFileException::invalidFile, EBADF);
  return ftell(stream_);
}

long CFile::GetLength() const
{
  struct stat info;
  if (stat(path_, &info) != 0)
    raise(CFileException::ErrnoToException(errno), errno);
  return static_cast<long>(info.st_size);
}

void CFile::Flush()
{
  if (stream_ && fflush(stream_) != 0)
    raise(CFileException::ErrnoToException(errno), errno);
}

void CFile::Close()
{
  if (!stream_)
    return;
  FILE* s = stream_;
  stream_ = nullptr;
  if (fclose(s) != 0)
    raise(CFileException::ErrnoToException(errno), errno);
}

void CFile::Abort()
{
  if (stream_)
    fclose(stream_);
  stream_ = nullptr;
}

BOOL CFile::GetStatus(const char* fileName, CFileStatus& status)
{
  struct stat info;
  if (!fileName || stat(fileName, &info) != 0)
    return FALSE;
  status.m_mtime = info.st_mtime;
  status.m_size = static_cast<long>(info.st_size);
  copyToBuffer(CString(fileName), status.m_szFullName, sizeof status.m_szFullName);
  return TRUE;
}

void CFile::Remove(const char* fileName)
{
  if (remove(fileName) != 0)
    throw new CFileException(CFileException::ErrnoToException(errno), errno, fileName);
}

CStdioFile::CStdioFile(const char* fileName, UINT openFlags)
{
  CFileException error;
  if (!Open(fileName, openFlags, &error))
    throw new CFileException(error.m_cause, error.m_lOsError, fileName);
}

BOOL CStdioFile::Open(const char* fileName, UINT openFlags, CFileException* error)
{
  // Text mode unless binary is asked for, as the run-time library's default.
  if (!(openFlags & typeBinary))
    openFlags |= typeText;
  return CFile::Open(fileName, openFlags, error);
}

BOOL CStdioFile::ReadString(CString& line)
{
  if (!stream_)
    raise(CFileException::invalidFile, EBADF);
  line.Empty();
  char chunk[512];
  bool any = false;
  while (fgets(chunk, sizeof chunk, stream_)) {
    any = true;
    size_t n = strlen(chunk);
    bool ended = n > 0 && chunk[n - 1] == '\n';
    if (ended)
      chunk[--n] = '\0';
    line += chunk;
    if (ended)
      break;
  }
  if (ferror(stream_))
    raise(CFileException::ErrnoToException(errno), errno);
  // Text mode: a line ends with CR LF on disk.
  if (textMode_ && line.GetLength() > 0 && line[line.GetLength() - 1] == '\r')
    line = line.Left(line.GetLength() - 1);
  return any ? TRUE : FALSE;
}

void CStdioFile::WriteString(const char* text)
{
  if (!stream_)
    raise(CFileException::invalidFile, EBADF);
  fseek(stream_, 0, SEEK_CUR);
  for (const char* p = text; *p; ++p) {
    if (*p == '\n' && textMode_ && fputc('\r', stream_) == EOF)
      raise(CFileException::ErrnoToException(errno), errno);
    if (fputc(*p, stream_) == EOF)
      raise(CFileException::ErrnoToException(errno), errno);
  }
}
