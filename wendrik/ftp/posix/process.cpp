/* POSIX body of process.h: sigaction, the terminal without echo, the warning
 * on standard error. */
#include "../process.h"

#include <errno.h>
#include <signal.h>
#include <string.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

static volatile sig_atomic_t ftpCancelSocket = FTP_NO_SOCKET;

static void ftpCancel(int)
{
  if (ftpCancelSocket != FTP_NO_SOCKET)
    close(ftpCancelSocket);
  static const char text[] = "cancelled\n";
  ssize_t ignored = write(STDOUT_FILENO, text, sizeof text - 1);
  (void)ignored;
  _exit(1);
}

void ftpProcessCancelOn(void)
{
  struct sigaction action;
  memset(&action, 0, sizeof action);
  action.sa_handler = ftpCancel;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, NULL);
  sigaction(SIGTERM, &action, NULL);
}

void ftpProcessCancelSocket(FtpSocket s)
{
  ftpCancelSocket = s;
}

#define FTP_INTERRUPT_DEPTH 8
static struct sigaction ftpSavedInterrupt[FTP_INTERRUPT_DEPTH];
static int ftpInterruptDepth;

int ftpProcessIgnoreInterrupt(void)
{
  int token = ftpInterruptDepth;
  if (ftpInterruptDepth < FTP_INTERRUPT_DEPTH) {
    struct sigaction ignore;
    memset(&ignore, 0, sizeof ignore);
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGINT, &ignore, &ftpSavedInterrupt[ftpInterruptDepth]);
    ftpInterruptDepth++;
  }
  return token;
}

void ftpProcessRestoreInterrupt(int token)
{
  if (token < 0 || token >= ftpInterruptDepth)
    return;
  sigaction(SIGINT, &ftpSavedInterrupt[token], NULL);
  ftpInterruptDepth = token;
}

int ftpProcessReadAccount(char *buffer, size_t size)
{
  if (!isatty(STDIN_FILENO))
    return -1;
  /* Quiet before the prompt, so nothing typed after it shows; TCSANOW keeps
   * what was typed ahead. */
  struct termios saved, quiet;
  int restore = tcgetattr(STDIN_FILENO, &saved) == 0;
  if (restore) {
    quiet = saved;
    quiet.c_lflag &= static_cast<tcflag_t>(~(ECHO | ICANON));
    quiet.c_cc[VMIN] = 1;
    quiet.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
  }
  fputs("Account:", stdout);
  fflush(stdout);
  size_t length = 0;
  for (;;) {
    unsigned char c;
    if (read(STDIN_FILENO, &c, 1) != 1 || c == '\n' || c == '\r')
      break;
    if (c == '\b' || c == 0x7f) {
      if (length > 0)
        length--;
    } else if (length + 1 < size) {
      buffer[length++] = static_cast<char>(c);
    }
  }
  buffer[length] = '\0';
  if (restore)
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
  fputs("\n", stdout);
  fflush(stdout);
  return 0;
}

void ftpProcessWarning(const char *text)
{
  fprintf(stderr, "Wendrik Error: %s\n", text);
  fflush(stderr);
}

int ftpProcessPrepareTarget(const char *name)
{
  struct stat info;
  if (stat(name, &info) != 0)
    return errno == ENOENT ? 0 : -1;
  /* Read-only: no write permission at all. Checked on the mode, since a
   * privileged user's access() answers yes regardless. */
  if (S_ISREG(info.st_mode) && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
    if (chmod(name, info.st_mode | S_IWUSR) != 0)
      return -1;
  return access(name, W_OK) == 0 ? 0 : -1;
}

int ftpProcessRegularFile(FILE *file)
{
  struct stat info;
  return fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
}

int ftpProcessBinaryStream(FILE *)
{
  return 0;   /* no text mode here */
}

void ftpProcessRestoreStream(FILE *, int)
{
}
