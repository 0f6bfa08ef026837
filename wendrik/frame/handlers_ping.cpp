/* Handler of FtpPing: the round-trip time to a host, or why there is none. */
#include "handlers.h"

#include "ping/ping.h"

ULONG FtpPingHandler(const FtpFunction *, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  FtpTrimArgs(argc, argv);
  int length;
  if (!FtpArgPresent(&argv[0]) || !FtpParseInteger(&argv[1], &length))
    return FtpInvalidCall(result);
  long rc;
  if (FtpArgUnsafe(&argv[0]))
    rc = PING_HOST;   /* a NUL would cut the name into another one */
  else if (FtpEngineStart() != 0)
    rc = PING_REPLY;
  else
    rc = PingHost(argv[0].strptr, length);
  /* FTPERRNO stays the "0" of the gateway. */
  char number[24];
  FtpSetResult(result, PingResultText(rc, number, sizeof number));
  return FTP_CALL_VALID;
}
