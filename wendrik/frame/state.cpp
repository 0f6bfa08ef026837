/* Package-wide state of the function package: one instance per process. */
#include "handlers.h"

#include <string.h>

/* The defaults name a loopback host and placeholder credentials, so that a
 * program that forgets FtpSetUser talks to nobody outside the machine. */
FtpLogin FtpCurrentLogin = {"127.0.0.1", "USERID", "PASSWORD", "", 0};
int FtpDefaultTransferType = FTP_TYPE_BINARY;
int FtpTraceOn = 0;

void FtpCopyLoginText(char *buffer, const char *text)
{
  size_t length = strlen(text);
  if (length > FTP_LOGIN_SIZE - 1)
    length = FTP_LOGIN_SIZE - 1;
  memcpy(buffer, text, length);
  buffer[length] = '\0';
}

FtpLoginTexts FtpCurrentLoginTexts(void)
{
  FtpLoginTexts login = {FtpCurrentLogin.host, FtpCurrentLogin.user, FtpCurrentLogin.password,
                         FtpCurrentLogin.hasAccount ? FtpCurrentLogin.account : NULL};
  return login;
}
