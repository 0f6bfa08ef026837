/* Handler of the raw command functions: FtpQuote, FtpSite, FtpSys. */
#include "handlers.h"

#include <string.h>

#include "ftp/engine.h"

static ULONG FtpSite(ULONG argc, FtpArg *argv, RXSTRING *result)
{
  if (argc != 1)
    return FtpInvalidCall(result);
  FtpTrimArgs(argc, argv);
  if (!FtpArgPresent(&argv[0]))
    return FtpInvalidCall(result);
  FtpLoginTexts login = FtpCurrentLoginTexts();
  int rc = -1;
  if (!FtpArgsUnsafe(argc, argv))
    rc = FtpSimpleCommand(&login, "SITE %s", argv[0].strptr);
  FtpTraceLine("%d = ftpsite(%s,%s,%s,%s,%s); FTPERRNO = %d\n", rc, FtpCurrentLogin.host, FtpCurrentLogin.user,
               FtpCurrentLogin.password, FtpTraceAccount(), argv[0].strptr, FtpErrnoCode);
  return FtpEngineResult(rc, result);
}

static ULONG FtpSys(ULONG argc, FtpArg *argv, RXSTRING *result)
{
  if (argc != 1)
    return FtpInvalidCall(result);
  FtpTrimArgs(argc, argv);
  const char *variable = FtpArgPresent(&argv[0]) ? argv[0].strptr : NULL;
  char reply[FTP_CAPTURE_SIZE];
  FtpLoginTexts login = FtpCurrentLoginTexts();
  int rc = FtpCaptureCommand(&login, "SYST", reply, sizeof reply, 0);
  FtpTraceLine("%d = ftpsys(%s,%s,%s,%s,%s); FTPERRNO = %d\n", rc, FtpCurrentLogin.host, FtpCurrentLogin.user,
               FtpCurrentLogin.password, FtpTraceAccount(), reply, FtpErrnoCode);
  /* The result is the system text itself: "215 UNIX Type: L8" gives "UNIX Type: L8". */
  FtpSetVariable(variable, NULL, rc == 0 ? reply : "");
  FtpSetErrno();
  FtpSetResult(result, rc == 0 ? reply : FTP_RESULT_FAILED);
  return FTP_CALL_VALID;
}

static ULONG FtpQuote(ULONG argc, FtpArg *argv, RXSTRING *result)
{
  if (argc < 1 || argc > 2)
    return FtpInvalidCall(result);
  FtpTrimArgs(argc, argv);
  if (!FtpArgPresent(&argv[0]))
    return FtpInvalidCall(result);
  const char *command = argv[0].strptr;
  int unsafe = FtpArgsUnsafe(1, argv);
  FtpLoginTexts login = FtpCurrentLoginTexts();
  int rc = -1;
  if (argc == 2 && FtpArgPresent(&argv[1])) {
    /* Every line of the reply, whatever its code. */
    char reply[FTP_CAPTURE_SIZE] = "";
    if (!unsafe)
      rc = FtpCaptureCommand(&login, command, reply, sizeof reply, 1);
    FtpTraceLine("%d = ftpquotereply(%s,%s,%s,%s,%s,%s); FTPERRNO = %d\n", rc, FtpCurrentLogin.host,
                 FtpCurrentLogin.user, FtpCurrentLogin.password, FtpTraceAccount(), command, reply, FtpErrnoCode);
    FtpSetVariable(argv[1].strptr, NULL, reply);
    return FtpEngineResult(rc, result);
  }
  /* The text is the whole line: a '%' in it goes out as it is. */
  if (!unsafe)
    rc = FtpSimpleCommand(&login, "%s", command);
  FtpTraceLine("%d = ftpquote(%s,%s,%s,%s,%s); FTPERRNO = %d\n", rc, FtpCurrentLogin.host, FtpCurrentLogin.user,
               FtpCurrentLogin.password, FtpTraceAccount(), command, FtpErrnoCode);
  return FtpEngineResult(rc, result);
}

ULONG FtpRawHandler(const char *name, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  if (strcmp(name, "FTPSITE") == 0)
    return FtpSite(argc, argv, result);
  if (strcmp(name, "FTPSYS") == 0)
    return FtpSys(argc, argv, result);
  return FtpQuote(argc, argv, result);
}
