/* Handler of FtpLogoff: every session ends with QUIT and the login is cleared. */
#include "handlers.h"

ULONG FtpLogoffHandler(const FtpFunction *, ULONG, FtpArg *, RXSTRING *result)
{
  FtpCloseAllSessions();
  FtpCurrentLogin.host[0] = '\0';
  FtpCurrentLogin.user[0] = '\0';
  FtpCurrentLogin.password[0] = '\0';
  FtpCurrentLogin.account[0] = '\0';
  FtpCurrentLogin.hasAccount = 0;
  FtpSetErrno();
  FtpSetResult(result, FTP_RESULT_OK);
  return FTP_CALL_VALID;
}
