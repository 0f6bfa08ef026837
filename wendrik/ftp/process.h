/* Process services of the FTP engine: signals, the console, the warning box
 * and the local file checks of transfers. One body per platform
 * (win32/process.cpp, posix/process.cpp). */
#ifndef WENDRIK_FTP_PROCESS_H
#define WENDRIK_FTP_PROCESS_H

#include <stddef.h>
#include <stdio.h>

#include "net.h"

/* From the first connection attempt on, an interrupt or termination signal
 * closes the cancel socket, writes "cancelled" and ends the process (status 1). */
void ftpProcessCancelOn(void);
void ftpProcessCancelSocket(FtpSocket s);

/* Ignores the interrupt signal until the matching restore; they nest.
 * The answer is the token to restore with. */
int ftpProcessIgnoreInterrupt(void);
void ftpProcessRestoreInterrupt(int token);

/* An interrupt or termination signal that arrives between these two waits
 * until the second (they nest). */
int ftpProcessDeferInterrupts(void);
void ftpProcessDeliverInterrupts(int token);

/* The transfer interrupt handler of a server-to-server transfer: an interrupt
 * writes a newline to standard output and is recorded, so the transfer can
 * stop. Restored with ftpProcessRestoreInterrupt like an ignore. */
int ftpProcessCatchInterrupt(void);
/* 1 when an interrupt was recorded since the last ftpProcessCatchInterrupt. */
int ftpProcessInterrupted(void);
/* Sleeps, waking early when an interrupt is recorded. */
void ftpProcessPause(long milliseconds);

/* Prompts "Account:" on the console and reads a line without echo, keeping at
 * most size - 1 characters. -1 (nothing written, nothing read) when standard
 * input is not a terminal. */
int ftpProcessReadAccount(char *buffer, size_t size);

/* The warning message box captioned "Wendrik Error". */
void ftpProcessWarning(const char *text);

/* Download target: 0 when it can be written (missing files included; a
 * read-only file is made writable), -1 when not. */
int ftpProcessPrepareTarget(const char *name);
/* 1 when the open file is a regular file. */
int ftpProcessRegularFile(FILE *file);
/* A new, empty file for a listing, named with the prefix "ftp" in the
 * directory the environment names for temporary files (TMPDIR on Linux, the
 * system's temporary path on Windows); created here, so no other program can
 * take the name in between. 0 with its name in name, -1 when none can be made. */
int ftpProcessTempFile(char *name, size_t size);

/* Standard input and output as byte streams for "-", for one transfer: the
 * answer is the mode to restore afterwards. */
int ftpProcessBinaryStream(FILE *stream);
void ftpProcessRestoreStream(FILE *stream, int mode);

#endif
