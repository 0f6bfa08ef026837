/* Handler of the listing functions: FtpLs (NLST) and FtpDir (LIST) into a stem. */
#include "handlers.h"

#include <string.h>

#include "ftp/engine.h"

/* Each element of a listing into the stem (context). */
static void FtpListingToStem(void *stem, long number, const char *line)
{
  FtpSetStemElement(static_cast<const char *>(stem), number, line);
}

ULONG FtpListHandler(const char *name, ULONG argc, FtpArg *argv, RXSTRING *result)
{
  if (argc != 2)
    return FtpInvalidCall(result);
  /* A pattern of blanks lists "*"; an empty or omitted one sends the command alone. */
  int hadPattern = FtpArgPresent(&argv[0]);
  FtpTrimArgs(argc, argv);
  if (!FtpArgPresent(&argv[1]))
    return FtpInvalidCall(result);
  const char *pattern = FtpArgPresent(&argv[0]) ? argv[0].strptr : hadPattern ? "*" : NULL;
  const char *stem = argv[1].strptr;
  int ls = strcmp(name, "FTPLS") == 0;

  char tempName[FTP_LOCAL_NAME_MAX + 1] = "";
  int rc = -1;
  long count = 0;
  FtpSetStemCount(stem, 0);
  if (!FtpArgsUnsafe(1, argv)) {
    FtpLoginTexts login = FtpCurrentLoginTexts();
    rc = FtpListing(&login, ls ? "NLST" : "LIST", pattern, FtpListingToStem, const_cast<char *>(stem), &count,
                    tempName, sizeof tempName);
    if (rc == 0)
      FtpSetStemCount(stem, count);
  }
  const char *shown = pattern ? pattern : FtpTraceArg(&argv[0]);
  if (ls)
    FtpTraceLine("%d = ftpls(%s,%s,%s,%s,%s,%s); FTPERRNO = %d\n", rc, FtpCurrentLogin.host, FtpCurrentLogin.user,
                 FtpCurrentLogin.password, FtpTraceAccount(), tempName, shown, FtpErrnoCode);
  else
    FtpTraceLine("%d = ftpdir(%s,%s,%s,%s,%s,%s); FTPERRNO = %d\n", rc, FtpCurrentLogin.host, FtpCurrentLogin.user,
                 FtpCurrentLogin.password, FtpTraceAccount(), tempName, shown, FtpErrnoCode);
  return FtpEngineResult(rc, result);
}
