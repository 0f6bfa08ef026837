/* Handlers of the directory functions: FtpPwd, and FtpChDir, FtpMkDir, FtpRmDir. */
#include "handlers.h"

ULONG FtpPwdHandler(const FtpFunction *function, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  FtpTrimArgs(argc, argv);
  const char *variable = argc >= 1 && FtpArgPresent(&argv[0]) ? argv[0].strptr : NULL;
  char reply[FTP_CAPTURE_SIZE];
  FtpLoginTexts login = FtpCurrentLoginTexts();
  int rc = FtpCaptureCommand(&login, "PWD", reply, sizeof reply, 0);
  FtpTraceCall(&function->trace, rc, reply);
  FtpSetVariable(variable, NULL, rc == 0 ? reply : "");
  return FtpEngineResult(rc, result);
}

/* One directory command with the argument as its directory; format null:
 * CWD, with the PWD that remembers where the session is. */
static ULONG FtpDirectoryCommand(const FtpFunction *function, const char *format, FtpArg *argv, RXSTRING *result)
{
  FtpTrimArgs(1, argv);
  const char *directory = argv[0].strptr;
  FtpLoginTexts login = FtpCurrentLoginTexts();
  int rc = -1;
  if (!FtpArgsUnsafe(1, argv))
    rc = format ? FtpSimpleCommand(&login, format, directory) : FtpChangeDirectory(&login, directory);
  FtpTraceCall(&function->trace, rc, FtpTraceArg(&argv[0]));
  return FtpEngineResult(rc, result);
}

ULONG FtpChDirHandler(const FtpFunction *function, ULONG, FtpArg *argv, RXSTRING *result)
{
  return FtpDirectoryCommand(function, NULL, argv, result);
}

ULONG FtpMkDirHandler(const FtpFunction *function, ULONG, FtpArg *argv, RXSTRING *result)
{
  return FtpDirectoryCommand(function, "MKD %s", argv, result);
}

ULONG FtpRmDirHandler(const FtpFunction *function, ULONG, FtpArg *argv, RXSTRING *result)
{
  return FtpDirectoryCommand(function, "RMD %s", argv, result);
}
