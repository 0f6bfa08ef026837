/* Handlers of the file functions: FtpGet, FtpPut, FtpAppend, FtpPutUnique,
 * FtpDelete, FtpRename. */
#include "handlers.h"

#include <string.h>

#include "ftp/engine.h"

static const struct {
  const char *name;
  const char *command;   /* null: the download */
  const char *trace;
} FtpTransfers[] = {
  {"FTPGET", NULL, "%d = ftpget(%s,%s,%s,%s,%s,%s,'w',%d); FTPERRNO = %d\n"},
  {"FTPPUT", "STOR", "%d = ftpput(%s,%s,%s,%s,%s,%s,%d); FTPERRNO = %d\n"},
  {"FTPAPPEND", "APPE", "%d = ftpappend(%s,%s,%s,%s,%s,%s,%d); FTPERRNO = %d\n"},
  {"FTPPUTUNIQUE", "STOU", "%d = ftpputunique(%s,%s,%s,%s,%s,%s,%d); FTPERRNO = %d\n"},
};

/* FtpTraceLine with a format from the table above. */
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
static void FtpTraceTransfer(const char *format, int rc, const char *local, const char *remote, int type)
{
  FtpTraceLine(format, rc, FtpCurrentLogin.host, FtpCurrentLogin.user, FtpCurrentLogin.password,
               FtpTraceAccount(), local, remote, type, FtpErrnoCode);
}
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

static ULONG FtpTransfer(int which, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  if (argc < 2 || argc > 3)
    return FtpInvalidCall(result);
  FtpTrimArgs(argc, argv);
  if (!FtpArgPresent(&argv[0]) || !FtpArgPresent(&argv[1]))
    return FtpInvalidCall(result);
  int type = DefaultTransferType;
  if (argc == 3) {
    if (!FtpArgPresent(&argv[2]) || !FtpParseTypeArg(&argv[2], &type))
      return FtpInvalidCall(result);
    DefaultTransferType = type;
  }
  const char *local = argv[0].strptr;
  const char *remote = argv[1].strptr;
  const char *command = FtpTransfers[which].command;
  int rc = -1;
  if (!FtpArgsUnsafe(2, argv)) {
    const char *required[] = {local, remote, "w"};
    FtpLoginTexts login = FtpCurrentLoginTexts();
    rc = FtpPrelude(&login, command ? 2 : 3, required);
    if (rc == 0) {
      FtpEnsureType(type);
      if (command == NULL) {
        rc = FtpDownload("RETR", local, remote, "w");
      } else {
        FtpContext->currentType = type;
        rc = FtpUpload(command, local, remote);
      }
    }
  }
  FtpTraceTransfer(FtpTransfers[which].trace, rc, local, remote, type);
  return FtpEngineResult(rc, result);
}

static ULONG FtpDelete(ULONG argc, FtpArg *argv, RXSTRING *result)
{
  if (argc != 1)
    return FtpInvalidCall(result);
  FtpTrimArgs(argc, argv);
  if (!FtpArgPresent(&argv[0]))
    return FtpInvalidCall(result);
  const char *remote = argv[0].strptr;
  int rc = -1;
  if (!FtpArgsUnsafe(argc, argv)) {
    FtpLoginTexts login = FtpCurrentLoginTexts();
    rc = FtpPrelude(&login, 1, &remote);
    if (rc == 0) {
      FtpCommand("DELE %s", remote);
      if (FtpReplyCode >= 400) {
        FtpErrnoCode = FTPERR_COMMAND;
        rc = -1;
      }
    }
  }
  FtpTraceLine("%d = ftpdelete(%s,%s,%s,%s,%s); FTPERRNO = %d\n", rc, FtpCurrentLogin.host,
               FtpCurrentLogin.user, FtpCurrentLogin.password, FtpTraceAccount(), remote, FtpErrnoCode);
  return FtpEngineResult(rc, result);
}

static ULONG FtpRename(ULONG argc, FtpArg *argv, RXSTRING *result)
{
  if (argc != 2)
    return FtpInvalidCall(result);
  FtpTrimArgs(argc, argv);
  if (!FtpArgPresent(&argv[0]) || !FtpArgPresent(&argv[1]))
    return FtpInvalidCall(result);
  const char *from = argv[0].strptr;
  const char *to = argv[1].strptr;
  int rc = -1;
  if (!FtpArgsUnsafe(argc, argv)) {
    const char *required[] = {from, to};
    FtpLoginTexts login = FtpCurrentLoginTexts();
    rc = FtpPrelude(&login, 2, required);
    if (rc == 0) {
      if (FtpCommand("RNFR %s", from) == 3)
        FtpCommand("RNTO %s", to);
      if (FtpReplyCode >= 400) {
        FtpErrnoCode = FTPERR_COMMAND;
        rc = -1;
      }
    }
  }
  FtpTraceLine("%d = ftprename(%s,%s,%s,%s,%s,%s); FTPERRNO = %d\n", rc, FtpCurrentLogin.host,
               FtpCurrentLogin.user, FtpCurrentLogin.password, FtpTraceAccount(), from, to, FtpErrnoCode);
  return FtpEngineResult(rc, result);
}

ULONG FtpFileHandler(const char *name, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  for (int i = 0; i < static_cast<int>(sizeof FtpTransfers / sizeof FtpTransfers[0]); i++)
    if (strcmp(name, FtpTransfers[i].name) == 0)
      return FtpTransfer(i, argc, argv, result);
  if (strcmp(name, "FTPDELETE") == 0)
    return FtpDelete(argc, argv, result);
  return FtpRename(argc, argv, result);
}
