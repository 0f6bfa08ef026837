/* Handlers of the frame's own functions: FtpDropFuncs, FtpVersion, FtpTrace. */
#include "handlers.h"

ULONG FtpDropFuncsHandler(const FtpFunction *, ULONG, FtpArg *, RXSTRING *)
{
  saaDeregisterFunction("FtpLoadFuncs");
  for (int i = 0; i < FtpFunctionCount; i++)
    saaDeregisterFunction(FtpFunctions[i].name);
  return FTP_CALL_VALID;
}

ULONG FtpVersionHandler(const FtpFunction *, ULONG argc, FtpArg *argv, RXSTRING *)
{
  if (argc >= 1 && FtpArgPresent(&argv[0])) {
    FtpTrimArg(&argv[0]);
    if (argv[0].strlength)
      FtpSetVariable(argv[0].strptr, NULL, WENDRIK_VERSION);
  }
  return FTP_CALL_VALID;
}

ULONG FtpTraceHandler(const FtpFunction *, ULONG, FtpArg *, RXSTRING *)
{
  FtpTraceOn = !FtpTraceOn;
  return FTP_CALL_VALID;
}
