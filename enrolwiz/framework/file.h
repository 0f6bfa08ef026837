// CFile and CStdioFile over the C library's streams, in the manner of the
// framework: failures are thrown as CFileException pointers, except by Open,
// which reports them through its optional exception object.
#ifndef ENROLWIZ_FRAMEWORK_FILE_H
#define ENROLWIZ_FRAMEWORK_FILE_H

#include <cstdio>
#include <ctime>

#include "cstring.h"
#include "exception.h"

struct CFileStatus {
  time_t m_mtime = 0;
  long m_size = 0;
  char m_szFullName[260] = {0};
};

class CFile {
public:
  enum OpenFlags {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
  };
  enum SeekPosition { begin = 0, current = 1, end = 2 };

  CFile() = default;
  CFile(const char* fileName, UINT openFlags);   // throws on failure
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;
  virtual ~CFile();

  virtual BOOL Open(const char* fileName, UINT openFlags, CFileException* error = nullptr);
  virtual UINT Read(void* buffer, UINT count);
  virtual void Write(const void* buffer, UINT count);
  virtual long Seek(long offset, UINT from);
  long SeekToEnd() { return Seek(0, end); }
  void SeekToBegin() { Seek(0, begin); }
  long GetPosition() const;
  long GetLength() const;
  virtual void Flush();
  virtual void Close();
  virtual void Abort();     // closes without throwing
  const CString& GetFilePath() const { return path_; }

  static BOOL GetStatus(const char* fileName, CFileStatus& status);
  static void Remove(const char* fileName);    // throws on failure

protected:
  [[noreturn]] void raise(int cause, int errorNumber) const;
  bool textMode_ = false;
  FILE* stream_ = nullptr;
  CString path_;
};

// Text files read and written by lines. In text mode the line end on disk is
// CR LF, as the Windows run-time library writes it, on every platform.
class CStdioFile : public CFile {
public:
  CStdioFile() = default;
  CStdioFile(const char* fileName, UINT openFlags);

  BOOL Open(const char* fileName, UINT openFlags, CFileException* error = nullptr) override;
  // The next line without its line end; FALSE at the end of the file.
  BOOL ReadString(CString& line);
  void WriteString(const char* text);
};

#endif
