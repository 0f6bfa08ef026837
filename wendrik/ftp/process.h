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
/* Standard input and output as byte streams for "-", for one transfer: the
 * answer is the mode to restore afterwards. */
int ftpProcessBinaryStream(FILE *stream);
void ftpProcessRestoreStream(FILE *stream, int mode);

#endif
