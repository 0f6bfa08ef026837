/* The FTP engine's status as its callers see it: the failure codes and
 * FtpErrnoCode that holds the last one, the transfer types, and the blank
 * test of the texts the engine requires. Nothing here knows of REXX. */
#ifndef WENDRIK_FTP_STATUS_H
#define WENDRIK_FTP_STATUS_H

/* FtpErrnoCode values; the REXX frame shows them by name in FTPERRNO. */
enum FtpFailure {
  FTPERR_NONE       = 0,
  FTPERR_SERVICE    = 1,
  FTPERR_HOST       = 2,
  FTPERR_SOCKET     = 3,
  FTPERR_CONNECT    = 4,
  FTPERR_LOGIN      = 5,
  FTPERR_ABORT      = 6,
  FTPERR_LOCALFILE  = 7,
  FTPERR_DATACONN   = 8,
  FTPERR_COMMAND    = 9,
  FTPERR_PROXYTHIRD = 10,
  FTPERR_NOPRIMARY  = 11,
  FTPERR_FAILURE    = 13,
  FTPERR_TLS        = 14    /* FtpSetSecure's TLS: refused, failed or not trusted */
};

/* The failure of the last engine call that failed. An engine function that
 * fails sets it (or leaves it, where the failure has no code of its own);
 * one that succeeds leaves it as it is, so the caller clears it before a
 * call whose status it reports. */
extern int FtpErrnoCode;

/* Transfer types as the caller chooses them and the sessions record them. */
#define FTP_TYPE_ASCII  1
#define FTP_TYPE_BINARY 3

/* Blank: null, empty, or spaces only. */
int FtpTextBlank(const char *text);

#endif
