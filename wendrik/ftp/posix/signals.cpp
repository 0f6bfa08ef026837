/* POSIX body of signals.h: sigaction, and a blocked mask while interrupts
 * are deferred. */
#include "../signals.h"

#include <signal.h>
#include <stdio.h>
#include <string.h>
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

void ftpSignalCancelOn(void)
{
  struct sigaction action;
  memset(&action, 0, sizeof action);
  action.sa_handler = ftpCancel;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, NULL);
  sigaction(SIGTERM, &action, NULL);
}

void ftpSignalCancelSocket(FtpSocket s)
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

int ftpSignalIgnoreInterrupt(void)
{
  return ftpPushInterrupt(SIG_IGN);
}

void ftpSignalRestoreInterrupt(int token)
{
  if (token < 0 || token >= ftpInterruptDepth)
    return;
  sigaction(SIGINT, &ftpSavedInterrupt[token], NULL);
  ftpInterruptDepth = token;
}

static int ftpDeferDepth;
static sigset_t ftpDeferSaved;

int ftpSignalDeferInterrupts(void)
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

void ftpSignalDeliverInterrupts(int token)
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

int ftpSignalCatchInterrupt(void)
{
  fflush(stdout);   /* the newline of an interrupt comes after what was written */
  ftpInterruptSeen = 0;
  return ftpPushInterrupt(ftpCatch);   /* the transfer's waits look at the flag */
}

int ftpSignalInterrupted(void)
{
  return ftpInterruptSeen;
}

static long ftpNowMs(void)
{
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void ftpSignalPause(long milliseconds)
{
  long end = ftpNowMs() + milliseconds;
  for (long left = milliseconds; left > 0 && !ftpInterruptSeen; left = end - ftpNowMs()) {
    long slice = left < 50 ? left : 50;
    struct timespec wait = {0, slice * 1000000L};
    nanosleep(&wait, NULL);   /* an interrupt ends it early */
  }
}
