/* Handler of FtpProxy: a file sent from a second server straight to the primary. */
#include "handlers.h"

#include <string.h>

#define FTP_PROXY_ARGS 10

/* An account argument: omitted, empty or "NULL" is none. */
static const char *FtpProxyAccount(const FtpArg *arg)
{
  if (!FtpArgPresent(arg) || strcmp(arg->strptr, "NULL") == 0)
    return NULL;
  return arg->strptr;
}

ULONG FtpProxyHandler(const FtpFunction *, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  /* Not trimmed; all but the two accounts (arguments 4 and 8) required. */
  for (ULONG i = 0; i < FTP_PROXY_ARGS; i++)
    if (i != 3 && i != 7 && (!FtpArgPresent(&argv[i]) || FtpTextBlank(argv[i].strptr)))
      return FtpInvalidCall(result);
  /* The type of this call only: the default type stays as it is. */
  int type = FtpDefaultTransferType;
  if (argc == FTP_PROXY_ARGS + 1 && (!FtpArgPresent(&argv[10]) || !FtpParseTypeArg(&argv[10], &type)))
    return FtpInvalidCall(result);

  int rc = -1;
  int tooLong = 0;
  /* Login texts as FtpSetUser takes them: a cut host or user names someone else. */
  for (ULONG i = 0; i < 8; i++)
    if (FtpArgPresent(&argv[i]) && argv[i].strlength > FTP_LOGIN_SIZE - 1)
      tooLong = 1;
  if (tooLong) {
    FtpErrnoCode = FTPERR_COMMAND;
  } else if (!FtpArgsUnsafe(FTP_PROXY_ARGS, argv)) {
    FtpLoginTexts primary = {argv[0].strptr, argv[1].strptr, argv[2].strptr, FtpProxyAccount(&argv[3])};
    FtpLoginTexts second = {argv[4].strptr, argv[5].strptr, argv[6].strptr, FtpProxyAccount(&argv[7])};
    rc = FtpProxyTransfer(&primary, &second, argv[8].strptr, argv[9].strptr, type);
  }
  return FtpEngineResult(rc, result);
}
