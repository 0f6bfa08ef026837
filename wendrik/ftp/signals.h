/* Signals as the FTP engine handles them: the cancel of a session by an
 * interrupt or termination, interrupts ignored, deferred or caught around
 * what must not be cut, and the pause an interrupt ends early. One body per
 * platform (posix/signals.cpp on sigaction, win32/signals.cpp on the C
 * runtime's signal). */
#ifndef WENDRIK_FTP_SIGNALS_H
#define WENDRIK_FTP_SIGNALS_H

#include "net.h"

/* From the first connection attempt on, an interrupt or termination signal
 * closes the cancel socket, writes "cancelled" and ends the process (status 1). */
void ftpSignalCancelOn(void);
void ftpSignalCancelSocket(FtpSocket s);

/* Ignores the interrupt signal until the matching restore; they nest.
 * The answer is the token to restore with. */
int ftpSignalIgnoreInterrupt(void);
void ftpSignalRestoreInterrupt(int token);

/* An interrupt or termination signal that arrives between these two waits
 * until the second (they nest). */
int ftpSignalDeferInterrupts(void);
void ftpSignalDeliverInterrupts(int token);

/* The transfer interrupt handler of a server-to-server transfer: an interrupt
 * writes a newline to standard output and is recorded, so the transfer can
 * stop. Restored with ftpSignalRestoreInterrupt like an ignore. */
int ftpSignalCatchInterrupt(void);
/* 1 when an interrupt was recorded since the last ftpSignalCatchInterrupt. */
int ftpSignalInterrupted(void);
/* Sleeps, waking early when an interrupt is recorded. */
void ftpSignalPause(long milliseconds);

#endif
