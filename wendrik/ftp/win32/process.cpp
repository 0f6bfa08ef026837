/* Win32 body of process.h: C runtime signals, the console without echo, the
 * warning message box. */
#include "../process.h"

#include <winsock2.h>
#include <windows.h>
#include <conio.h>
#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

static volatile FtpSocket ftpCancelSocket = FTP_NO_SOCKET;

/* The runtime calls signal handlers on a thread of its own: a signal that
 * comes while the engine defers them is kept and raised afterwards. */
static volatile LONG ftpDeferDepth;
static volatile int ftpDeferredSignal;

static void ftpCancel(int sig)
{
  if (ftpDeferDepth > 0) {
    ftpDeferredSignal = sig;
    signal(sig, ftpCancel);   /* the runtime reset it before calling us */
    return;
  }
  if (ftpCancelSocket != FTP_NO_SOCKET)
    closesocket(static_cast<SOCKET>(static_cast<unsigned int>(ftpCancelSocket)));
  fputs("cancelled\n", stdout);
  fflush(stdout);
  _exit(1);
}

void ftpProcessCancelOn(void)
{
  signal(SIGINT, ftpCancel);
  signal(SIGTERM, ftpCancel);
  signal(SIGBREAK, ftpCancel);
}

void ftpProcessCancelSocket(FtpSocket s)
{
  ftpCancelSocket = s;
}

typedef void FtpSignalHandler(int);
#define FTP_INTERRUPT_DEPTH 8
static FtpSignalHandler *ftpSavedInterrupt[FTP_INTERRUPT_DEPTH];
static int ftpInterruptDepth;

int ftpProcessIgnoreInterrupt(void)
{
  int token = ftpInterruptDepth;
  if (ftpInterruptDepth < FTP_INTERRUPT_DEPTH)
    ftpSavedInterrupt[ftpInterruptDepth++] = signal(SIGINT, SIG_IGN);
  return token;
}

void ftpProcessRestoreInterrupt(int token)
{
  if (token < 0 || token >= ftpInterruptDepth)
    return;
  signal(SIGINT, ftpSavedInterrupt[token]);
  ftpInterruptDepth = token;
}

int ftpProcessDeferInterrupts(void)
{
  return static_cast<int>(InterlockedIncrement(&ftpDeferDepth)) - 1;
}

void ftpProcessDeliverInterrupts(int token)
{
  if (token < 0 || token >= ftpDeferDepth)
    return;
  InterlockedExchange(&ftpDeferDepth, token);
  if (token == 0 && ftpDeferredSignal != 0) {
    int sig = ftpDeferredSignal;
    ftpDeferredSignal = 0;
    raise(sig);
  }
}

static volatile int ftpInterruptSeen;

static void ftpCatch(int)
{
  signal(SIGINT, ftpCatch);
  fputs("\n", stdout);
  fflush(stdout);
  ftpInterruptSeen = 1;
}

int ftpProcessCatchInterrupt(void)
{
  fflush(stdout);
  ftpInterruptSeen = 0;
  int token = ftpInterruptDepth;
  if (ftpInterruptDepth < FTP_INTERRUPT_DEPTH)
    ftpSavedInterrupt[ftpInterruptDepth++] = signal(SIGINT, ftpCatch);
  return token;
}

int ftpProcessInterrupted(void)
{
  return ftpInterruptSeen;
}

void ftpProcessPause(long milliseconds)
{
  DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  for (long left = milliseconds; left > 0 && !ftpInterruptSeen;
       left = static_cast<long>(end - GetTickCount())) {
    Sleep(static_cast<DWORD>(left < 50 ? left : 50));
  }
}

unsigned long ftpProcessTicks(void)
{
  return GetTickCount();
}

int ftpProcessReadAccount(char *buffer, size_t size)
{
  /* A console, not merely a character device: NUL is one too. */
  DWORD consoleMode;
  if (!_isatty(_fileno(stdin)) || !GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &consoleMode))
    return -1;
  fputs("Account:", stdout);
  fflush(stdout);
  size_t length = 0;
  for (;;) {
    int c = _getch();
    if (c == '\r' || c == '\n' || c == EOF)
      break;
    if (c == '\b') {
      if (length > 0)
        length--;
    } else if (length + 1 < size) {
      buffer[length++] = static_cast<char>(c);
    }
  }
  buffer[length] = '\0';
  fputs("\n", stdout);
  fflush(stdout);
  return 0;
}

void ftpProcessWarning(const char *text)
{
  /* Test-only: the test runs have nobody to click the box away, so they set
   * WENDRIK_TEST_WARNINGS_TO_STDERR and get the line the POSIX build writes. */
  const char *toStderr = getenv("WENDRIK_TEST_WARNINGS_TO_STDERR");
  if (toStderr != NULL && *toStderr != '\0') {
    fprintf(stderr, "Wendrik Error: %s\n", text);
    fflush(stderr);
    return;
  }
  MessageBoxA(NULL, text, "Wendrik Error", MB_OK | MB_ICONWARNING);
}

int ftpProcessPrepareTarget(const char *name)
{
  if (_access(name, 2) == 0)
    return 0;
  if (errno == ENOENT)
    return 0;
  struct _stat info;
  if (_stat(name, &info) != 0 || (info.st_mode & _S_IFREG) == 0)
    return -1;
  /* Exists but read-only: clear the read-only attribute. */
  return _chmod(name, _S_IREAD | _S_IWRITE) == 0 ? 0 : -1;
}

int ftpProcessTempFile(char *name, size_t size)
{
  char directory[MAX_PATH + 1];
  DWORD length = GetTempPathA(sizeof directory, directory);
  /* GetTempFileNameA writes up to MAX_PATH characters and creates the file. */
  if (length == 0 || length >= sizeof directory || size < MAX_PATH ||
      GetTempFileNameA(directory, "ftp", 0, name) == 0) {
    if (size)
      name[0] = '\0';
    return -1;
  }
  return 0;
}

FILE *ftpProcessOpenDownload(const char *target, char *part, char *place, size_t size)
{
  part[0] = '\0';
  if (strlen(target) >= size)
    return NULL;
  strcpy(place, target);
  /* A device (NUL, CON, COM1) or a folder is written as ever. */
  HANDLE existing = CreateFileA(target, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
  if (existing != INVALID_HANDLE_VALUE) {
    BY_HANDLE_FILE_INFORMATION information;
    int plain = GetFileType(existing) == FILE_TYPE_DISK && GetFileInformationByHandle(existing, &information) &&
                !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    CloseHandle(existing);
    if (!plain)
      return fopen(target, "wb");
  }
  char full[MAX_PATH];
  char *name = NULL;
  DWORD length = GetFullPathNameA(target, sizeof full, full, &name);
  if (length > 0 && length < sizeof full && name != NULL && size >= MAX_PATH) {
    *name = '\0';   /* the folder, with its backslash */
    if (GetTempFileNameA(full, "ftp", 0, part) != 0) {
      FILE *file = fopen(part, "wb");
      if (file != NULL)
        return file;
      DeleteFileA(part);
    }
  }
  /* The folder takes no new file (the file alone is writable): in place. */
  part[0] = '\0';
  return fopen(target, "wb");
}

int ftpProcessPlaceDownload(const char *part, const char *place)
{
  return MoveFileExA(part, place, MOVEFILE_REPLACE_EXISTING) ? 0 : -1;
}

int ftpProcessRegularFile(FILE *file)
{
  struct _stat info;
  return _fstat(_fileno(file), &info) == 0 && (info.st_mode & _S_IFREG) != 0;
}

int ftpProcessBinaryStream(FILE *stream)
{
  fflush(stream);
  return _setmode(_fileno(stream), _O_BINARY);
}

void ftpProcessRestoreStream(FILE *stream, int mode)
{
  fflush(stream);
  if (mode != -1)
    _setmode(_fileno(stream), mode);
}
