/* Handlers of the setting functions: FtpSetUser, FtpSetBinary, FtpSetActiveMode,
 * FtpSetSecure. */
#include "handlers.h"

#include <string.h>

#include "ftp/engine.h"

/* A login text the buffers and the control connection can take as it is. */
static int FtpLoginArgFits(const FtpArg *arg)
{
  if (!FtpArgPresent(arg))
    return 1;
  return arg->strlength <= FTP_LOGIN_SIZE - 1 && !FtpArgUnsafe(arg);
}

static ULONG FtpSetUser(ULONG argc, FtpArg *argv, RXSTRING *result)
{
  if (argc == 0) {
    FtpSetResult(result, FTP_RESULT_OK);
    return FTP_CALL_VALID;
  }
  if (argc < 3 || argc > 4) {
    FtpSetResult(result, FTP_RESULT_OK);
    return FTP_CALL_INVALID;
  }
  /* A text cut to the buffer would name another host or user, and a line
   * break would add commands to the login: such a login is not taken. */
  for (ULONG i = 0; i < argc; i++)
    if (!FtpLoginArgFits(&argv[i])) {
      FtpErrnoCode = FTPERR_COMMAND;
      FtpSetErrno();
      FtpSetResult(result, FTP_RESULT_OK);
      return FTP_CALL_VALID;
    }
  if (FtpArgPresent(&argv[0]))
    FtpCopyLoginText(FtpCurrentLogin.host, argv[0].strptr);
  if (FtpArgPresent(&argv[1]))
    FtpCopyLoginText(FtpCurrentLogin.user, argv[1].strptr);
  if (FtpArgPresent(&argv[2]))
    FtpCopyLoginText(FtpCurrentLogin.password, argv[2].strptr);
  FtpCurrentLogin.account[0] = '\0';
  FtpCurrentLogin.hasAccount = 0;
  if (argc == 4 && FtpArgPresent(&argv[3])) {
    FtpCopyLoginText(FtpCurrentLogin.account, argv[3].strptr);
    FtpCurrentLogin.hasAccount = 1;
  }
  FtpSetResult(result, FTP_RESULT_SET);
  return FTP_CALL_VALID;
}

static ULONG FtpSetBinary(FtpArg *argv, RXSTRING *result)
{
  int type;
  if (FtpParseTypeArg(&argv[0], &type)) {
    DefaultTransferType = type;
    FtpSetResult(result, FTP_RESULT_SET);
  } else {
    DefaultTransferType = FTP_TYPE_BINARY;
    FtpSetResult(result, FTP_RESULT_OK);
  }
  return FTP_CALL_VALID;
}

static ULONG FtpSetActiveMode(FtpArg *argv, RXSTRING *result)
{
  FtpTrimArg(&argv[0]);
  int mode;
  if (!FtpParseInteger(&argv[0], &mode)) {
    FtpSetResult(result, FTP_RESULT_OK);
    return FTP_CALL_VALID;
  }
  FtpLoginTexts login = FtpCurrentLoginTexts();
  int rc = FtpPrelude(&login, 0, NULL);
  if (rc == 0)
    FtpCurrentSession()->activeMode = mode != 0;
  FtpTraceLine("%d = ftpsetactivemode(%s,%s,%s,%s,%d); FTPERRNO = %d\n", rc, FtpCurrentLogin.host,
               FtpCurrentLogin.user, FtpCurrentLogin.password, FtpTraceAccount(), mode, FtpErrnoCode);
  FtpSetErrno();
  FtpSetResult(result, rc == 0 ? FTP_RESULT_SET : FTP_RESULT_OK);
  return FTP_CALL_VALID;
}

/* FtpSetSecure(flag [, trust file]): "1" TLS for the sessions opened from
 * now on, with the file's certificates trusted besides the system's roots;
 * "0" plain FTP again. Nothing is connected. */
static ULONG FtpSetSecure(ULONG argc, FtpArg *argv, RXSTRING *result)
{
  if (argc < 1 || argc > 2)
    return FtpInvalidCall(result);
  FtpTrimArgs(argc, argv);
  const FtpArg *flag = &argv[0];
  if (flag->strptr == NULL || flag->strlength != 1 || (flag->strptr[0] != '0' && flag->strptr[0] != '1'))
    return FtpInvalidCall(result);
  int on = flag->strptr[0] == '1';
  const char *trustFile = argc == 2 && FtpArgPresent(&argv[1]) ? argv[1].strptr : NULL;
  if (trustFile && !on)
    return FtpInvalidCall(result);
  /* A NUL inside the name would name another file: refused, and then as
   * any failed call with flag 1, TLS stays required. */
  int rc = -1;
  if (!FtpArgsUnsafe(argc, argv))
    rc = FtpSetSecureSessions(on, trustFile);
  else if (on)
    FtpSecureSessionsFailed();
  FtpTraceLine("%d = ftpsetsecure(%s,%s,%s,%s,%d,%s); FTPERRNO = %d\n", rc, FtpCurrentLogin.host,
               FtpCurrentLogin.user, FtpCurrentLogin.password, FtpTraceAccount(), on,
               trustFile ? trustFile : "(null)", FtpErrnoCode);
  FtpSetErrno();
  FtpSetResult(result, rc == 0 ? FTP_RESULT_SET : FTP_RESULT_OK);
  return FTP_CALL_VALID;
}

ULONG FtpSettingsHandler(const char *name, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  if (strcmp(name, "FTPSETUSER") == 0)
    return FtpSetUser(argc, argv, result);
  if (strcmp(name, "FTPSETSECURE") == 0)
    return FtpSetSecure(argc, argv, result);
  if (argc == 0) {
    FtpSetResult(result, FTP_RESULT_OK);
    return FTP_CALL_VALID;
  }
  if (strcmp(name, "FTPSETBINARY") == 0)
    return FtpSetBinary(argv, result);
  return FtpSetActiveMode(argv, result);
}
