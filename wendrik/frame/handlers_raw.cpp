/* Handlers of the raw command functions: FtpQuote, FtpSite, FtpSys. */
#include "handlers.h"

/* FtpQuote with a variable for the reply. */
static const FtpTraceFormat FtpQuoteReplyTrace = {"ftpquotereply", "%s,%s"};

ULONG FtpSiteHandler(const FtpFunction *function, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  FtpTrimArgs(argc, argv);
  if (!FtpArgPresent(&argv[0]))
    return FtpInvalidCall(result);
  FtpLoginTexts login = FtpCurrentLoginTexts();
  int rc = -1;
  if (!FtpArgsUnsafe(argc, argv))
    rc = FtpSimpleCommand(&login, "SITE %s", argv[0].strptr);
  FtpTraceCall(&function->trace, rc, argv[0].strptr);
  return FtpEngineResult(rc, result);
}

ULONG FtpSysHandler(const FtpFunction *function, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  FtpTrimArgs(argc, argv);
  const char *variable = FtpArgPresent(&argv[0]) ? argv[0].strptr : NULL;
  char reply[FTP_CAPTURE_SIZE];
  FtpLoginTexts login = FtpCurrentLoginTexts();
  int rc = FtpCaptureCommand(&login, "SYST", reply, sizeof reply, 0);
  FtpTraceCall(&function->trace, rc, reply);
  /* The result is the system text itself: "215 UNIX Type: L8" gives "UNIX Type: L8". */
  FtpSetVariable(variable, NULL, rc == 0 ? reply : "");
  FtpSetErrno();
  FtpSetResult(result, rc == 0 ? reply : FTP_RESULT_FAILED);
  return FTP_CALL_VALID;
}

ULONG FtpQuoteHandler(const FtpFunction *function, ULONG argc, FtpArg *argv, RXSTRING *result)
{
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
    FtpTraceCall(&FtpQuoteReplyTrace, rc, command, reply);
    FtpSetVariable(argv[1].strptr, NULL, reply);
    return FtpEngineResult(rc, result);
  }
  /* The text is the whole line: a '%' in it goes out as it is. */
  if (!unsafe)
    rc = FtpSimpleCommand(&login, "%s", command);
  FtpTraceCall(&function->trace, rc, command);
  return FtpEngineResult(rc, result);
}
