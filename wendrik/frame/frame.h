/* The REXX function frame: package-wide state, results, arguments and REXX
 * variables shared by every function handler. The failure codes and
 * FtpErrnoCode are the engine's (ftp/status.h); FTPERRNO shows them. */
#ifndef WENDRIK_FRAME_FRAME_H
#define WENDRIK_FRAME_FRAME_H

#include <stddef.h>

#include "ftp/status.h"
#include "saa/saa.h"

#define WENDRIK_NAME    "Wendrik"
#define WENDRIK_VERSION "2.1"

/* Function results. */
#define FTP_RESULT_OK      "0"
#define FTP_RESULT_FAILED  "-1"
#define FTP_RESULT_SET     "1"

/* Return values to the interpreter. */
#define FTP_CALL_VALID    0UL
#define FTP_CALL_INVALID 40UL   /* the interpreter raises its incorrect-call condition */

/* The current login; each text buffer holds at most FTP_LOGIN_SIZE - 1 characters. */
#define FTP_LOGIN_SIZE 200
struct FtpLogin {
  char host[FTP_LOGIN_SIZE];
  char user[FTP_LOGIN_SIZE];
  char password[FTP_LOGIN_SIZE];
  char account[FTP_LOGIN_SIZE];
  int hasAccount;
};

extern FtpLogin FtpCurrentLogin;
extern int FtpDefaultTransferType;
extern int FtpTraceOn;

/* An argument as the handlers see it: the gateway's copy of the interpreter's
 * string (the text itself stays in the interpreter's buffer). */
struct FtpArg {
  size_t strlength;
  char *strptr;
};

/* Copies text into a login buffer, cutting it to FTP_LOGIN_SIZE - 1 characters. */
void FtpCopyLoginText(char *buffer, const char *text);

/* FTPERRNO: the value shown for a code, and setting the variable from FtpErrnoCode. */
const char *FtpErrnoText(int code, char *buffer, size_t size);
void FtpSetErrno(void);

/* The interpreter's strings and blocks, read and written by variables.cpp
 * alone (layout.h: how their lengths are laid out). */

/* Sets the REXX variable name + suffix (suffix may be null) to value.
 * The joined name is trimmed of blanks; a null name sets nothing. */
void FtpSetVariable(const char *name, const char *suffix, const char *value);

/* A stem's element: stem + number (in decimal) = value; element 0 holds the
 * count. */
void FtpSetStemElement(const char *stem, long number, const char *value);
void FtpSetStemCount(const char *stem, long count);

/* Results: the capacity of the interpreter's result buffer is recorded when a
 * call enters the package, and a result never exceeds it. */
void FtpBeginResult(RXSTRING *result);
void FtpSetResult(RXSTRING *result, const char *text);

/* The interpreter's argc argument strings as the package's own (args). */
void FtpReadArgs(ULONG argc, const RXSTRING *argv, FtpArg *args);

/* Arguments: present means a non-null pointer and a non-zero length. */
int FtpArgPresent(const FtpArg *arg);
/* Trims the blanks around the text; the new end is zero-terminated in the
 * interpreter's buffer (at the latest where the old text's terminating zero
 * is: the texts are used as C strings). */
void FtpTrimArg(FtpArg *arg);
void FtpTrimArgs(ULONG argc, FtpArg *argv);

/* 1 when the argument holds a carriage return, a line feed or a NUL within
 * its length: such a text would put extra lines on the control connection
 * (a NUL is invisible to the C string functions and would cut the text). */
int FtpArgUnsafe(const FtpArg *arg);
/* A transfer type text (trimmed): a prefix of "BINARY" (up to six characters
 * compared) or of "ASCII" (up to five), in any case; empty selects BINARY.
 * Upper-cases the text in place. 1 and *type set when valid, 0 when not. */
int FtpParseTypeArg(FtpArg *arg, int *type);
/* An argument as trace lines show it: "(null)" when omitted. */
const char *FtpTraceArg(const FtpArg *arg);
/* A base-10 integer (an optional sign, then digits) that is the whole text;
 * an empty or omitted text is 0. The value saturates. 1 when it is one. */
int FtpParseInteger(const FtpArg *arg, int *value);
/* Any of the arguments unsafe (FtpArgUnsafe): 1, with FtpErrnoCode 9. */
int FtpArgsUnsafe(ULONG argc, const FtpArg *argv);

/* The incorrect call: result "0", return 40. */
ULONG FtpInvalidCall(RXSTRING *result);
/* After an engine call: FTPERRNO from FtpErrnoCode, result "0" or "-1". */
ULONG FtpEngineResult(int rc, RXSTRING *result);

#endif
