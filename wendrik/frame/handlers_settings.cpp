/* Handlers of the setting functions: FtpSetUser, FtpSetBinary, FtpSetActiveMode,
 * FtpSetSecure. */
#include "handlers.h"

/* A login text the buffers and the control connection can take as it is. */
static int FtpLoginArgFits(const FtpArg *arg)
{
  if (!FtpArgPresent(arg))
    return 1;
  return arg->strlength <= FTP_LOGIN_SIZE - 1 && !FtpArgUnsafe(arg);
}

/* A setting function called without arguments: "0", and nothing changes. */
static ULONG FtpNoSetting(RXSTRING *result)
{
  FtpSetResult(result, FTP_RESULT_OK);
  return FTP_CALL_VALID;
}

/* Three or four arguments (none: FtpNoSetting); not trimmed. */
ULONG FtpSetUserHandler(const FtpFunction *, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  if (argc == 0)
    return FtpNoSetting(result);
  if (argc < 3)
    return FtpInvalidCall(result);
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

/* The first argument alone counts. */
ULONG FtpSetBinaryHandler(const FtpFunction *, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  if (argc == 0)
    return FtpNoSetting(result);
  int type;
  if (FtpParseTypeArg(&argv[0], &type)) {
    FtpDefaultTransferType = type;
    FtpSetResult(result, FTP_RESULT_SET);
  } else {
    FtpDefaultTransferType = FTP_TYPE_BINARY;
    FtpSetResult(result, FTP_RESULT_OK);
  }
  return FTP_CALL_VALID;
}

/* The first argument alone counts. */
ULONG FtpSetActiveModeHandler(const FtpFunction *function, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  if (argc == 0)
    return FtpNoSetting(result);
  FtpTrimArg(&argv[0]);
  int mode;
  if (!FtpParseInteger(&argv[0], &mode))
    return FtpNoSetting(result);
  FtpLoginTexts login = FtpCurrentLoginTexts();
  int rc = FtpSetSessionActiveMode(&login, mode != 0);
  FtpTraceCall(&function->trace, rc, mode);
  FtpSetErrno();
  FtpSetResult(result, rc == 0 ? FTP_RESULT_SET : FTP_RESULT_OK);
  return FTP_CALL_VALID;
}

/* FtpSetSecure(flag [, trust file]): "1" TLS for the sessions opened from
 * then on, with the file's certificates trusted besides the system's roots;
 * "0" plain FTP. Nothing is connected. */
ULONG FtpSetSecureHandler(const FtpFunction *function, ULONG argc, FtpArg *argv, RXSTRING *result)
{
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
  FtpTraceCall(&function->trace, rc, on, trustFile ? trustFile : "(null)");
  FtpSetErrno();
  FtpSetResult(result, rc == 0 ? FTP_RESULT_SET : FTP_RESULT_OK);
  return FTP_CALL_VALID;
}
