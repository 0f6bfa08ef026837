/* Handlers of the listing functions: FtpLs (NLST) and FtpDir (LIST) into a stem. */
#include "handlers.h"

/* Each element of a listing into the stem (context). */
static void FtpListingToStem(void *stem, long number, const char *line)
{
  FtpSetStemElement(static_cast<const char *>(stem), number, line);
}

/* stem0 is "0" from the start and the count once the listing is whole. */
static ULONG FtpList(const FtpFunction *function, const char *command, FtpArg *argv, RXSTRING *result)
{
  /* A pattern of blanks lists "*"; an empty or omitted one sends the command alone. */
  int hadPattern = FtpArgPresent(&argv[0]);
  FtpTrimArgs(2, argv);
  if (!FtpArgPresent(&argv[1]))
    return FtpInvalidCall(result);
  const char *pattern = FtpArgPresent(&argv[0]) ? argv[0].strptr : hadPattern ? "*" : NULL;
  const char *stem = argv[1].strptr;

  char tempName[FTP_LOCAL_NAME_MAX + 1] = "";
  int rc = -1;
  long count = 0;
  FtpSetStemCount(stem, 0);
  if (!FtpArgsUnsafe(1, argv)) {
    FtpLoginTexts login = FtpCurrentLoginTexts();
    rc = FtpListing(&login, command, pattern, FtpListingToStem, const_cast<char *>(stem), &count, tempName,
                    sizeof tempName);
    if (rc == 0)
      FtpSetStemCount(stem, count);
  }
  FtpTraceCall(&function->trace, rc, tempName, pattern ? pattern : FtpTraceArg(&argv[0]));
  return FtpEngineResult(rc, result);
}

ULONG FtpLsHandler(const FtpFunction *function, ULONG, FtpArg *argv, RXSTRING *result)
{
  return FtpList(function, "NLST", argv, result);
}

ULONG FtpDirHandler(const FtpFunction *function, ULONG, FtpArg *argv, RXSTRING *result)
{
  return FtpList(function, "LIST", argv, result);
}
