/* POSIX body of process.h: sigaction, the terminal without echo, the warning
 * on standard error. */
#include "../process.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
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

/* Installs a handler of the interrupt signal, keeping the one before it for
 * the matching restore. No SA_RESTART: a wait in progress returns. */
static int ftpPushInterrupt(void (*handler)(int))
{
  int token = ftpInterruptDepth;
  if (ftpInterruptDepth < FTP_INTERRUPT_DEPTH) {
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &ftpSavedInterrupt[ftpInterruptDepth]);
    ftpInterruptDepth++;
  }
  return token;
}

int ftpProcessIgnoreInterrupt(void)
{
  return ftpPushInterrupt(SIG_IGN);
}

void ftpProcessRestoreInterrupt(int token)
{
  if (token < 0 || token >= ftpInterruptDepth)
    return;
  sigaction(SIGINT, &ftpSavedInterrupt[token], NULL);
  ftpInterruptDepth = token;
}

static int ftpDeferDepth;
static sigset_t ftpDeferSaved;

int ftpProcessDeferInterrupts(void)
{
  int token = ftpDeferDepth++;
  if (token == 0) {
    sigset_t block;
    sigemptyset(&block);
    sigaddset(&block, SIGINT);
    sigaddset(&block, SIGTERM);
    sigprocmask(SIG_BLOCK, &block, &ftpDeferSaved);
  }
  return token;
}

void ftpProcessDeliverInterrupts(int token)
{
  if (token < 0 || token >= ftpDeferDepth)
    return;
  ftpDeferDepth = token;
  if (token == 0)
    sigprocmask(SIG_SETMASK, &ftpDeferSaved, NULL);   /* a blocked signal arrives now */
}

static volatile sig_atomic_t ftpInterruptSeen;

static void ftpCatch(int)
{
  ssize_t ignored = write(STDOUT_FILENO, "\n", 1);
  (void)ignored;
  ftpInterruptSeen = 1;
}

int ftpProcessCatchInterrupt(void)
{
  fflush(stdout);   /* the newline of an interrupt comes after what was written */
  ftpInterruptSeen = 0;
  return ftpPushInterrupt(ftpCatch);   /* the transfer's waits look at the flag */
}

int ftpProcessInterrupted(void)
{
  return ftpInterruptSeen;
}

static long ftpNowMs(void)
{
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void ftpProcessPause(long milliseconds)
{
  long end = ftpNowMs() + milliseconds;
  for (long left = milliseconds; left > 0 && !ftpInterruptSeen; left = end - ftpNowMs()) {
    long slice = left < 50 ? left : 50;
    struct timespec wait = {0, slice * 1000000L};
    nanosleep(&wait, NULL);   /* an interrupt ends it early */
  }
}

unsigned long ftpProcessTicks(void)
{
  return static_cast<unsigned long>(ftpNowMs());
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

int ftpProcessTempFile(char *name, size_t size)
{
  const char *directory = getenv("TMPDIR");
  if (directory == NULL || *directory == '\0')
    directory = P_tmpdir;
  int length = snprintf(name, size, "%s/ftpXXXXXX", directory);
  if (length < 0 || static_cast<size_t>(length) >= size) {
    name[0] = '\0';
    return -1;
  }
  int fd = mkstemp(name);
  if (fd < 0) {
    name[0] = '\0';
    return -1;
  }
  close(fd);
  return 0;
}

FILE *ftpProcessOpenDownload(const char *target, char *part, char *place, size_t size)
{
  part[0] = '\0';
  if (strlen(target) >= size)
    return NULL;
  strcpy(place, target);
  struct stat info;
  int exists = lstat(target, &info) == 0;
  if (exists && S_ISLNK(info.st_mode)) {
    /* The file the link names is replaced, not the link; a link to nothing
     * is written through as ever. */
    char *real = realpath(target, NULL);
    int usable = real != NULL && strlen(real) < size && stat(real, &info) == 0;
    if (usable)
      strcpy(place, real);
    free(real);
    if (!usable)
      return fopen(target, "wb");
  }
  /* A device or a pipe is written as ever. */
  if (exists && !S_ISREG(info.st_mode))
    return fopen(target, "wb");
  static unsigned counter;
  const char *slash = strrchr(place, '/');
  int folder = slash ? static_cast<int>(slash - place) + 1 : 0;
  for (int attempt = 0; attempt < 100; attempt++) {
    int length = snprintf(part, size, "%.*sftp%ld_%u.part", folder, place, static_cast<long>(getpid()), counter++);
    if (length < 0 || static_cast<size_t>(length) >= size)
      break;
    int fd = open(part, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST)
        continue;
      break;
    }
    if (exists) {
      /* The old file's owner, group and permissions, as far as this user
       * may give them. */
      int given = fchown(fd, info.st_uid, info.st_gid) == 0 || fchown(fd, static_cast<uid_t>(-1), info.st_gid) == 0;
      (void)given;
      fchmod(fd, info.st_mode & 07777);
    }
    FILE *file = fdopen(fd, "wb");
    if (file != NULL)
      return file;
    close(fd);
    unlink(part);
    break;
  }
  /* The folder takes no new file (the file alone is writable): in place. */
  part[0] = '\0';
  return fopen(target, "wb");
}

int ftpProcessPlaceDownload(const char *part, const char *place)
{
  return rename(part, place) == 0 ? 0 : -1;
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
