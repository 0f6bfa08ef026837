/* Listings into REXX stems and the single-command functions: working
 * directory, change, make and remove directory, site, system, quote. */
#include "engine.h"

#include <limits.h>
#include <stdio.h>
#include <string.h>

#include "frame/frame.h"
#include "process.h"

/* Sets stem + the number to value. */
static void FtpSetElement(const char *stem, long number, const char *value)
{
  char suffix[24];
  snprintf(suffix, sizeof suffix, "%ld", number);
  FtpSetVariable(stem, suffix, value);
}

/* Reads the downloaded listing through: with stem, setting stem1..stemN
 * (at most limit elements), without, only counting them. The count, or -1
 * when the file cannot be read. Line ends CR LF and LF alike end an element. */
static long FtpReadListing(FILE *file, const char *stem, long limit)
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
        if (stem)
          FtpSetElement(stem, count, reader.element);
      }
  return ferror(file) ? -1 : count;
}

/* The downloaded listing into stem1..stemN; the count, or -1 when the file
 * cannot be read. Read through once before any element is set: a listing
 * that cannot be read whole sets none. */
static long FtpStemFromFile(const char *name, const char *stem)
{
  FILE *file = fopen(name, "rb");
  if (file == NULL)
    return -1;
  long count = FtpReadListing(file, NULL, LONG_MAX);
  if (count > 0 && fseek(file, 0, SEEK_SET) == 0)
    count = FtpReadListing(file, stem, count);
  else if (count > 0)
    count = -1;
  fclose(file);
  return count;
}

int FtpListing(const char *command, const char *pattern, const char *stem, char *tempName, size_t size)
{
  FtpSetVariable(stem, "0", "0");
  if (ftpProcessTempFile(tempName, size) != 0) {
    FtpErrnoCode = FTPERR_LOCALFILE;
    return -1;
  }
  const char *required[] = {tempName};
  int rc = FtpPrelude(1, required);
  if (rc == 0)
    rc = FtpDownload(command, tempName, pattern, "w");
  long count = -1;
  if (rc == 0) {
    count = FtpStemFromFile(tempName, stem);
    if (count < 0) {
      FtpErrnoCode = FTPERR_LOCALFILE;
      rc = -1;
    }
  }
  /* Removed on every path: a failed listing would otherwise leave one more
   * file in the temporary directory for each call. */
  remove(tempName);
  if (rc != 0)
    return -1;
  char number[24];
  snprintf(number, sizeof number, "%ld", count);
  FtpSetVariable(stem, "0", number);
  return 0;
}

int FtpChangeDirectory(const char *directory)
{
  const char *required[] = {directory};
  if (FtpPrelude(1, required) != 0)
    return -1;
  FtpCommand("CWD %s", directory);
  if (FtpReplyCode >= 400) {
    FtpErrnoCode = FTPERR_COMMAND;
    return -1;
  }
  char reply[FTP_DIRECTORY_SIZE];
  char remembered[FTP_DIRECTORY_SIZE];
  FtpCaptureReply("PWD", reply, sizeof reply, 0);
  /* A refused PWD or one without a quoted name: the directory is not known,
   * and a reconnect then stays where the login puts it. */
  if (FtpReplyCode >= 400 || FtpQuotedText(reply, remembered, sizeof remembered) != 0)
    remembered[0] = '\0';
  FtpSession *session = FtpCurrentSession();
  if (session)
    FtpSetSessionDirectory(session, remembered);
  return 0;
}

int FtpSimpleCommand(const char *format, const char *argument)
{
  const char *required[] = {argument};
  if (FtpPrelude(1, required) != 0)
    return -1;
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
  FtpCommand(format, argument);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  if (FtpReplyCode >= 400) {
    FtpErrnoCode = FTPERR_COMMAND;
    return -1;
  }
  return 0;
}

int FtpCaptureCommand(const char *command, char *buffer, size_t size, int captureAll)
{
  buffer[0] = '\0';
  const char *required[] = {command};
  if (FtpPrelude(1, required) != 0)
    return -1;
  FtpCaptureReply(command, buffer, size, captureAll);
  if (FtpReplyCode >= 400) {
    FtpErrnoCode = captureAll && FtpReplyCode >= 500 ? FTPERR_FAILURE : FTPERR_COMMAND;
    return -1;
  }
  return 0;
}
