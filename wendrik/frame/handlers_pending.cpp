/* Function groups whose engine is not part of this build yet: each answers the
 * interpreter's incorrect-call result, so a program cannot mistake them for
 * working functions. */
#include "handlers.h"

static ULONG FtpNotAvailable(const char *, ULONG, RXSTRING *, RXSTRING *result)
{
  FtpSetResult(result, FTP_RESULT_OK);
  return FTP_CALL_INVALID;
}

ULONG FtpListHandler(const char *n, ULONG c, RXSTRING *v, RXSTRING *r) { return FtpNotAvailable(n, c, v, r); }
ULONG FtpPwdHandler(const char *n, ULONG c, RXSTRING *v, RXSTRING *r) { return FtpNotAvailable(n, c, v, r); }
ULONG FtpDirectoryHandler(const char *n, ULONG c, RXSTRING *v, RXSTRING *r) { return FtpNotAvailable(n, c, v, r); }
ULONG FtpRawHandler(const char *n, ULONG c, RXSTRING *v, RXSTRING *r) { return FtpNotAvailable(n, c, v, r); }
ULONG FtpProxyHandler(const char *n, ULONG c, RXSTRING *v, RXSTRING *r) { return FtpNotAvailable(n, c, v, r); }
ULONG FtpPingHandler(const char *n, ULONG c, RXSTRING *v, RXSTRING *r) { return FtpNotAvailable(n, c, v, r); }
