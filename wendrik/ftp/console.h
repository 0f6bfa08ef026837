/* The console and the standard streams as the FTP engine uses them: the
 * account prompt without echo, and standard input and output as byte
 * streams for the local name "-". One body per platform (posix/console.cpp,
 * win32/console.cpp). */
#ifndef WENDRIK_FTP_CONSOLE_H
#define WENDRIK_FTP_CONSOLE_H

#include <stddef.h>
#include <stdio.h>

/* Prompts "Account:" on the console and reads a line without echo, keeping at
 * most size - 1 characters. -1 (nothing written, nothing read) when standard
 * input is not a terminal. */
int ftpConsoleReadAccount(char *buffer, size_t size);

/* Standard input or output as a byte stream for one transfer: the answer is
 * the mode to restore afterwards. */
int ftpConsoleBinaryStream(FILE *stream);
void ftpConsoleRestoreStream(FILE *stream, int mode);

#endif
