/* FTPERRNO: the status variable that mirrors FtpErrnoCode after every call. */
#include "frame.h"

#include <stdio.h>

static const struct {
  int code;
  const char *text;
} FtpErrnoNames[] = {
  {FTPERR_NONE, "0"},
  {FTPERR_SERVICE, "FTPSERVICE"},
  {FTPERR_HOST, "FTPHOST"},
  {FTPERR_SOCKET, "FTPSOCKET"},
  {FTPERR_CONNECT, "FTPCONNECT"},
  {FTPERR_LOGIN, "FTPLOGIN"},
  {FTPERR_ABORT, "FTPABORT"},
  {FTPERR_LOCALFILE, "FTPLOCALFILE"},
  {FTPERR_DATACONN, "FTPDATACONN"},
  {FTPERR_COMMAND, "FTPCOMMAND"},
  {FTPERR_PROXYTHIRD, "FTPPROXYTHIRD"},
  {FTPERR_FAILURE, "FTPFAILURE"},
  {FTPERR_TLS, "FTPTLS"},
};

const char *FtpErrnoText(int code, char *buffer, size_t size)
{
  for (const auto &entry : FtpErrnoNames)
    if (entry.code == code)
      return entry.text;
  snprintf(buffer, size, "%d", code);   /* 11, 12 and any other code by number */
  return buffer;
}

void FtpSetErrno(void)
{
  char number[16];
  FtpSetVariable("FTPERRNO", NULL, FtpErrnoText(FtpErrnoCode, number, sizeof number));
}
