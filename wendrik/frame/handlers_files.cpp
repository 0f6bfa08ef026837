/* Handlers of the file functions: FtpGet, FtpPut, FtpAppend, FtpPutUnique,
 * FtpDelete, FtpRename. */
#include "handlers.h"

/* A transfer: "RETR" downloads, another command uploads. The type argument,
 * when given, becomes the default type. */
static ULONG FtpTransfer(const FtpFunction *function, const char *command, ULONG argc, FtpArg *argv,
                         RXSTRING *result)
{
  FtpTrimArgs(argc, argv);
  if (!FtpArgPresent(&argv[0]) || !FtpArgPresent(&argv[1]))
    return FtpInvalidCall(result);
  int type = FtpDefaultTransferType;
  if (argc == 3) {
    if (!FtpArgPresent(&argv[2]) || !FtpParseTypeArg(&argv[2], &type))
      return FtpInvalidCall(result);
    FtpDefaultTransferType = type;
  }
  const char *local = argv[0].strptr;
  const char *remote = argv[1].strptr;
  int rc = -1;
  if (!FtpArgsUnsafe(2, argv)) {
    FtpLoginTexts login = FtpCurrentLoginTexts();
    rc = FtpTransferFile(&login, command, local, remote, type);
  }
  FtpTraceCall(&function->trace, rc, local, remote, type);
  return FtpEngineResult(rc, result);
}

ULONG FtpGetHandler(const FtpFunction *function, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  return FtpTransfer(function, "RETR", argc, argv, result);
}

ULONG FtpPutHandler(const FtpFunction *function, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  return FtpTransfer(function, "STOR", argc, argv, result);
}

ULONG FtpAppendHandler(const FtpFunction *function, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  return FtpTransfer(function, "APPE", argc, argv, result);
}

ULONG FtpPutUniqueHandler(const FtpFunction *function, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  return FtpTransfer(function, "STOU", argc, argv, result);
}

ULONG FtpDeleteHandler(const FtpFunction *function, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  FtpTrimArgs(argc, argv);
  if (!FtpArgPresent(&argv[0]))
    return FtpInvalidCall(result);
  const char *remote = argv[0].strptr;
  int rc = -1;
  if (!FtpArgsUnsafe(argc, argv)) {
    FtpLoginTexts login = FtpCurrentLoginTexts();
    rc = FtpDeleteFile(&login, remote);
  }
  FtpTraceCall(&function->trace, rc, remote);
  return FtpEngineResult(rc, result);
}

ULONG FtpRenameHandler(const FtpFunction *function, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  FtpTrimArgs(argc, argv);
  if (!FtpArgPresent(&argv[0]) || !FtpArgPresent(&argv[1]))
    return FtpInvalidCall(result);
  const char *from = argv[0].strptr;
  const char *to = argv[1].strptr;
  int rc = -1;
  if (!FtpArgsUnsafe(argc, argv)) {
    FtpLoginTexts login = FtpCurrentLoginTexts();
    rc = FtpRenameFile(&login, from, to);
  }
  FtpTraceCall(&function->trace, rc, from, to);
  return FtpEngineResult(rc, result);
}
