/* Arguments of REXX calls as the package's own copies: presence, trimming,
 * the readers of integers and types; the incorrect call and the engine's
 * result; the optional trace line. */
#include "handlers.h"

#include <ctype.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

int FtpArgPresent(const FtpArg *arg)
{
  return arg->strptr != NULL && arg->strlength != 0;
}

void FtpTrimArg(FtpArg *arg)
{
  if (arg->strptr == NULL)
    return;
  char *start = arg->strptr;
  size_t length = arg->strlength;
  while (length > 0 && *start == ' ') {
    start++;
    length--;
  }
  while (length > 0 && start[length - 1] == ' ')
    length--;
  /* The text stays zero-terminated: the new end lies within the old text. */
  if (length < arg->strlength)
    start[length] = '\0';
  arg->strptr = start;
  arg->strlength = length;
}

void FtpTrimArgs(ULONG argc, FtpArg *argv)
{
  for (ULONG i = 0; i < argc; i++)
    FtpTrimArg(&argv[i]);
}

int FtpArgUnsafe(const FtpArg *arg)
{
  if (arg->strptr == NULL)
    return 0;
  for (size_t i = 0; i < arg->strlength; i++)
    if (arg->strptr[i] == '\r' || arg->strptr[i] == '\n' || arg->strptr[i] == '\0')
      return 1;
  return 0;
}

int FtpParseTypeArg(FtpArg *arg, int *type)
{
  if (arg->strptr == NULL) {
    *type = FTP_TYPE_BINARY;
    return 1;
  }
  for (size_t i = 0; i < arg->strlength; i++)
    arg->strptr[i] = static_cast<char>(toupper(static_cast<unsigned char>(arg->strptr[i])));
  FtpTrimArg(arg);
  size_t length = arg->strlength;
  /* "b", "Bin", "BINARYFILE": compared on their first six characters;
   * "a", "ascii": on their first five. */
  if (memcmp(arg->strptr, "BINARY", length < 6 ? length : 6) == 0) {
    *type = FTP_TYPE_BINARY;
    return 1;
  }
  if (memcmp(arg->strptr, "ASCII", length < 5 ? length : 5) == 0) {
    *type = FTP_TYPE_ASCII;
    return 1;
  }
  return 0;
}

/* The account as trace lines show it: "(null)" when none is set. */
static const char *FtpTraceAccount(void)
{
  return FtpCurrentLogin.hasAccount ? FtpCurrentLogin.account : "(null)";
}

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
void FtpTraceCall(const FtpTraceFormat *trace, int rc, ...)
{
  if (!FtpTraceOn)
    return;
  fprintf(stderr, "%d = %s(%s,%s,%s,%s,", rc, trace->name, FtpCurrentLogin.host, FtpCurrentLogin.user,
          FtpCurrentLogin.password, FtpTraceAccount());
  va_list args;
  va_start(args, rc);
  vfprintf(stderr, trace->arguments, args);
  va_end(args);
  fprintf(stderr, "); FTPERRNO = %d\n", FtpErrnoCode);
  fflush(stderr);
}
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

ULONG FtpInvalidCall(RXSTRING *result)
{
  FtpSetResult(result, FTP_RESULT_OK);
  return FTP_CALL_INVALID;
}

ULONG FtpEngineResult(int rc, RXSTRING *result)
{
  FtpSetErrno();
  FtpSetResult(result, rc == 0 ? FTP_RESULT_OK : FTP_RESULT_FAILED);
  return FTP_CALL_VALID;
}

int FtpArgsUnsafe(ULONG argc, const FtpArg *argv)
{
  for (ULONG i = 0; i < argc; i++)
    if (FtpArgUnsafe(&argv[i])) {
      FtpErrnoCode = FTPERR_COMMAND;
      return 1;
    }
  return 0;
}

int FtpParseInteger(const FtpArg *arg, int *out)
{
  const char *p = arg->strptr ? arg->strptr : "";
  size_t length = arg->strptr ? arg->strlength : 0;
  size_t i = 0;
  int negative = 0;
  if (i < length && (p[i] == '+' || p[i] == '-'))
    negative = p[i++] == '-';
  if (length > 0 && i == length)
    return 0;
  /* The magnitude stops growing past what an int holds, so nothing
   * overflows and both builds (long is 32 bits on Win32) read the same. */
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
  long long value = 0;
  for (; i < length; i++) {
    if (p[i] < '0' || p[i] > '9')
      return 0;
    value = value * 10 + (p[i] - '0');
    if (value > limit)
      value = limit;
  }
  *out = static_cast<int>(negative ? -value : value);
  return 1;
}

const char *FtpTraceArg(const FtpArg *arg)
{
  return arg->strptr ? arg->strptr : "(null)";
}
