/* Win32 body of signals.h: the C runtime's signal, whose handlers run on a
 * thread of their own. */
#include "../signals.h"

#include <winsock2.h>
#include <windows.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>

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

void ftpSignalCancelOn(void)
{
  signal(SIGINT, ftpCancel);
  signal(SIGTERM, ftpCancel);
  signal(SIGBREAK, ftpCancel);
}

void ftpSignalCancelSocket(FtpSocket s)
{
  ftpCancelSocket = s;
}

typedef void FtpSignalHandler(int);
#define FTP_INTERRUPT_DEPTH 8
static FtpSignalHandler *ftpSavedInterrupt[FTP_INTERRUPT_DEPTH];
static int ftpInterruptDepth;

int ftpSignalIgnoreInterrupt(void)
{
  int token = ftpInterruptDepth;
  if (ftpInterruptDepth < FTP_INTERRUPT_DEPTH)
    ftpSavedInterrupt[ftpInterruptDepth++] = signal(SIGINT, SIG_IGN);
  return token;
}

void ftpSignalRestoreInterrupt(int token)
{
  if (token < 0 || token >= ftpInterruptDepth)
    return;
  signal(SIGINT, ftpSavedInterrupt[token]);
  ftpInterruptDepth = token;
}

int ftpSignalDeferInterrupts(void)
{
  return static_cast<int>(InterlockedIncrement(&ftpDeferDepth)) - 1;
}

void ftpSignalDeliverInterrupts(int token)
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

int ftpSignalCatchInterrupt(void)
{
  fflush(stdout);
  ftpInterruptSeen = 0;
  int token = ftpInterruptDepth;
  if (ftpInterruptDepth < FTP_INTERRUPT_DEPTH)
    ftpSavedInterrupt[ftpInterruptDepth++] = signal(SIGINT, ftpCatch);
  return token;
}

int ftpSignalInterrupted(void)
{
  return ftpInterruptSeen;
}

void ftpSignalPause(long milliseconds)
{
  DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  for (long left = milliseconds; left > 0 && !ftpInterruptSeen;
       left = static_cast<long>(end - GetTickCount())) {
    Sleep(static_cast<DWORD>(left < 50 ? left : 50));
  }
}
