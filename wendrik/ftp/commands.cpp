/* What the engine does for a caller, each from the prelude on: transfers of
 * files, listings handed to the caller element by element, and the
 * single-command functions: delete, rename, the active mode, working
 * directory, change, make and remove directory, site, system, quote. */
#include "engine.h"

#include <limits.h>
#include <stdio.h>
#include <string.h>

#include "local_files.h"

int FtpTransferFile(const FtpLoginTexts *login, const char *command, const char *local, const char *remote,
                    int type)
{
  const char *required[] = {local, remote};
  if (FtpPrelude(login, 2, required) != 0)
    return -1;
  FtpEnsureType(type);
  if (strcmp(command, "RETR") == 0)
    return FtpDownload(command, local, remote);
  FtpCurrentContext->currentType = type;
  return FtpUpload(command, local, remote);
}

int FtpDeleteFile(const FtpLoginTexts *login, const char *remote)
{
  if (FtpPrelude(login, 1, &remote) != 0)
    return -1;
  FtpCommand("DELE %s", remote);
  if (FtpLastReply.code >= 400) {
    FtpErrnoCode = FTPERR_COMMAND;
    return -1;
  }
  return 0;
}

int FtpRenameFile(const FtpLoginTexts *login, const char *from, const char *to)
{
  const char *required[] = {from, to};
  if (FtpPrelude(login, 2, required) != 0)
    return -1;
  if (FtpCommand("RNFR %s", from) == 3)
    FtpCommand("RNTO %s", to);
  if (FtpLastReply.code >= 400) {
    FtpErrnoCode = FTPERR_COMMAND;
    return -1;
  }
  return 0;
}

int FtpSetSessionActiveMode(const FtpLoginTexts *login, int on)
{
  if (FtpPrelude(login, 0, NULL) != 0)
    return -1;
  FtpCurrentSession()->activeMode = on;
  return 0;
}

/* Reads the downloaded listing through: with line, handing it each element
 * (at most limit of them), without, only counting them. The count, or -1
 * when the file cannot be read. Line ends CR LF and LF alike end an element. */
static long FtpReadListing(FILE *file, FtpListingLine *line, void *context, long limit)
{
  FtpListingReader reader;
  FtpListingBegin(&reader);
  unsigned char piece[8192];
  long count = 0;
  size_t got;
  while (count < limit && (got = fread(piece, 1, sizeof piece, file)) > 0)
    for (size_t i = 0; i < got && count < limit; i++)
      if (FtpListingFeed(&reader, piece[i])) {
        count++;
        if (line)
          line(context, count, reader.element);
      }
  return ferror(file) ? -1 : count;
}

/* The downloaded listing's elements to line; the count, or -1 when the file
 * cannot be read. Read through once before any element is handed on: a
 * listing that cannot be read whole gives none. */
static long FtpLinesFromFile(const char *name, FtpListingLine *line, void *context)
{
  FILE *file = fopen(name, "rb");
  if (file == NULL)
    return -1;
  long count = FtpReadListing(file, NULL, NULL, LONG_MAX);
  if (count > 0 && fseek(file, 0, SEEK_SET) == 0)
    count = FtpReadListing(file, line, context, count);
  else if (count > 0)
    count = -1;
  fclose(file);
  return count;
}

int FtpListing(const FtpLoginTexts *login, const char *command, const char *pattern, FtpListingLine *line,
               void *context, long *count, char *tempName, size_t size)
{
  if (ftpLocalTempFile(tempName, size) != 0) {
    FtpErrnoCode = FTPERR_LOCALFILE;
    return -1;
  }
  const char *required[] = {tempName};
  int rc = FtpPrelude(login, 1, required);
  if (rc == 0)
    rc = FtpDownload(command, tempName, pattern);
  if (rc == 0) {
    *count = FtpLinesFromFile(tempName, line, context);
    if (*count < 0) {
      FtpErrnoCode = FTPERR_LOCALFILE;
      rc = -1;
    }
  }
  /* Removed on every path: a failed listing would otherwise leave one more
   * file in the temporary directory for each call. */
  remove(tempName);
  return rc == 0 ? 0 : -1;
}

int FtpChangeDirectory(const FtpLoginTexts *login, const char *directory)
{
  const char *required[] = {directory};
  if (FtpPrelude(login, 1, required) != 0)
    return -1;
  FtpCommand("CWD %s", directory);
  if (FtpLastReply.code >= 400) {
    FtpErrnoCode = FTPERR_COMMAND;
    return -1;
  }
  char reply[FTP_DIRECTORY_SIZE];
  char remembered[FTP_DIRECTORY_SIZE];
  FtpCaptureReply("PWD", reply, sizeof reply, 0);
  /* A refused PWD or one without a quoted name: the directory is not known,
   * and a reconnect then stays where the login puts it. */
  if (FtpLastReply.code >= 400 || FtpQuotedText(reply, remembered, sizeof remembered) != 0)
    remembered[0] = '\0';
  FtpSession *session = FtpCurrentSession();
  if (session)
    FtpSetSessionDirectory(session, remembered);
  return 0;
}

int FtpSimpleCommand(const FtpLoginTexts *login, const char *format, const char *argument)
{
  const char *required[] = {argument};
  if (FtpPrelude(login, 1, required) != 0)
    return -1;
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
  FtpCommand(format, argument);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  if (FtpLastReply.code >= 400) {
    FtpErrnoCode = FTPERR_COMMAND;
    return -1;
  }
  return 0;
}

int FtpCaptureCommand(const FtpLoginTexts *login, const char *command, char *buffer, size_t size,
                      int captureAll)
{
  buffer[0] = '\0';
  const char *required[] = {command};
  if (FtpPrelude(login, 1, required) != 0)
    return -1;
  FtpCaptureReply(command, buffer, size, captureAll);
  if (FtpLastReply.code >= 400) {
    FtpErrnoCode = captureAll && FtpLastReply.code >= 500 ? FTPERR_FAILURE : FTPERR_COMMAND;
    return -1;
  }
  return 0;
}
