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
/* A millisecond count that only goes forward (it may wrap: compare
 * differences), for the bounds of waits made of several waits. */
unsigned long ftpProcessTicks(void);

/* Prompts "Account:" on the console and reads a line without echo, keeping at
 * most size - 1 characters. -1 (nothing written, nothing read) when standard
 * input is not a terminal. */
int ftpProcessReadAccount(char *buffer, size_t size);

/* The warning message box captioned "Wendrik Error". */
void ftpProcessWarning(const char *text);

/* Download target: 0 when it can be written (missing files included; a
 * read-only file is made writable), -1 when not. */
int ftpProcessPrepareTarget(const char *name);
/* Where a download (RETR) writes: a new file beside the target, its name in
 * part, to be put in the target's place (place: the target, or the file a
 * symbolic link names) only when the transfer succeeded, so that a failed one
 * leaves the old file as it was. The new file takes the old one's permissions.
 * When the target is no plain file (a device) or its folder takes no new file,
 * the target itself, opened as ever (part then ""). Null when nothing opens.
 * part and place hold size bytes (FTP_PATH_SIZE). */
FILE *ftpProcessOpenDownload(const char *target, char *part, char *place, size_t size);
/* Puts the completed new file in place of the target: 0, or -1. */
int ftpProcessPlaceDownload(const char *part, const char *place);
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
