/* Handlers of the directory functions: FtpPwd, and FtpChDir, FtpMkDir, FtpRmDir. */
#include "handlers.h"

#include <string.h>

#include "ftp/engine.h"

ULONG FtpPwdHandler(const char *, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  FtpTrimArgs(argc, argv);
  const char *variable = argc >= 1 && FtpArgPresent(&argv[0]) ? argv[0].strptr : NULL;
  char reply[FTP_CAPTURE_SIZE];
  FtpLoginTexts login = FtpCurrentLoginTexts();
  int rc = FtpCaptureCommand(&login, "PWD", reply, sizeof reply, 0);
  FtpTraceLine("%d = ftppwd(%s,%s,%s,%s,%s); FTPERRNO = %d\n", rc, FtpCurrentLogin.host, FtpCurrentLogin.user,
               FtpCurrentLogin.password, FtpTraceAccount(), reply, FtpErrnoCode);
  FtpSetVariable(variable, NULL, rc == 0 ? reply : "");
  return FtpEngineResult(rc, result);
}

ULONG FtpDirectoryHandler(const char *name, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  if (argc != 1)
    return FtpInvalidCall(result);
  FtpTrimArgs(argc, argv);
  const char *directory = argv[0].strptr;
  FtpLoginTexts login = FtpCurrentLoginTexts();
  int rc = -1;
  const char *trace;
  if (strcmp(name, "FTPCHDIR") == 0) {
    trace = "ftpchdir";
    if (!FtpArgsUnsafe(argc, argv))
      rc = FtpChangeDirectory(&login, directory);
  } else if (strcmp(name, "FTPMKDIR") == 0) {
    trace = "ftpmkdir";
    if (!FtpArgsUnsafe(argc, argv))
      rc = FtpSimpleCommand(&login, "MKD %s", directory);
  } else {
    trace = "ftprmdir";
    if (!FtpArgsUnsafe(argc, argv))
      rc = FtpSimpleCommand(&login, "RMD %s", directory);
  }
  FtpTraceLine("%d = %s(%s,%s,%s,%s,%s); FTPERRNO = %d\n", rc, trace, FtpCurrentLogin.host, FtpCurrentLogin.user,
               FtpCurrentLogin.password, FtpTraceAccount(), FtpTraceArg(&argv[0]), FtpErrnoCode);
  return FtpEngineResult(rc, result);
}
