/* Server-to-server transfer: the second server sends a file straight to the
 * primary server over a data connection between the two (PASV on the second,
 * PORT and STOR on the primary, RETR on the second; between two servers
 * reached over IPv6, EPSV and EPRT in place of PASV and PORT). */
#include "engine.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "signals.h"

/* Time for the primary to connect to the second server's passive port. */
#define FTP_PROXY_PAUSE_MS 2000L

/* The pause, as the test-only settings give it: WENDRIK_TEST_PROXY_PAUSE_MS
 * sets its length (a test that interrupts it needs a window that a busy
 * machine cannot miss), else WENDRIK_TEST_LONG_WAIT_MS may shorten it. */
static long FtpProxyPause(void)
{
  const char *text = getenv("WENDRIK_TEST_PROXY_PAUSE_MS");
  char *end = NULL;
  long value = text ? strtol(text, &end, 10) : -1;
  if (text && *text && end && *end == '\0' && value > 0)
    return value;
  return FtpLongWait(FTP_PROXY_PAUSE_MS);
}

/* The cache entry that holds the current context's control socket. */
static FtpSession *FtpSessionOfControl(void)
{
  if (FtpCurrentContext->control < 0)
    return NULL;
  for (int i = 0; i < FTP_SESSION_COUNT; i++)
    if (FtpSessionCache.entries[i].control == FtpCurrentContext->control) {
      FtpSessionCache.current = i;
      return &FtpSessionCache.entries[i];
    }
  return NULL;
}

/* Puts the current context's session back to the type it had before the call. */
static int FtpRestoreSessionType(int remembered)
{
  FtpSession *session = FtpSessionOfControl();
  if (session == NULL)
    return -1;
  if (session->type != remembered)
    FtpSetType(remembered);
  return 0;
}

static void FtpRestoreCurrentType(int remembered)
{
  if (remembered && FtpCurrentContext->control != FTP_NO_SOCKET)
    FtpSetType(remembered);
}

/* The PORT text for the primary from the second server's 227 reply:
 *   227 Entering Passive Mode (127,0,0,1,195,149).
 * The reply may name any host; the primary is sent to the second server
 * itself (the address this side reached it at), on the port the reply gives,
 * so a second server cannot have the primary connect to a third host. */
static int FtpProxyPortText(char *text, size_t size)
{
  FtpAddress address;
  if (FtpLastReply.code != 227 || FtpParsePasv(FtpLastReply.pasvText, &address) != 0)
    return -1;
  const unsigned char *ip = FtpCurrentContext->remote.ip;
  snprintf(text, size, "%u,%u,%u,%u,%u,%u", ip[0], ip[1], ip[2], ip[3], (address.port >> 8) & 0xff,
           address.port & 0xff);
  return 0;
}

/* Reads the current context's final reply, unless an interrupt comes first
 * or it does not start within FTP_PROXY_WAIT_MS (then -1: the transfer is
 * stopped as after an interrupt). */
static int FtpProxyReply(int *replyClass)
{
  unsigned long start = ftpNetTicks();
  long limit = FtpLongWait(FTP_PROXY_WAIT_MS);
  for (;;) {
    if (ftpSignalInterrupted())
      return -1;
    FtpSocket s = FtpCurrentContext->control;
    if (s == FTP_NO_SOCKET) {
      *replyClass = 4;
      return 0;
    }
    long left = limit - static_cast<long>(ftpNetTicks() - start);
    if (left <= 0)
      return -1;
    int ready = ftpNetWaitReadable(s, FTP_NO_SOCKET, left < 100 ? left : 100);
    if (ready < 0 && ftpSignalInterrupted())
      return -1;
    if (ready != 0) {
      *replyClass = FtpReplyReader(0);
      return 0;
    }
  }
}

/* The Telnet abort on the current context, then its two replies; -1 when
 * the connection had to be dropped. The IAC of the DM goes as urgent data,
 * as in a download's abort: a server busy with the transfer (the primary
 * waiting for data that will not come) sees the ABOR only so. */
static int FtpProxyAbort(void)
{
  FtpSendAbort(FtpCurrentContext->control);
  /* Each reply within the wait: a server that answers ABOR only once must
   * not hold the call for ever. */
  for (int i = 0; i < 2; i++) {
    if (FtpCurrentContext->control == FTP_NO_SOCKET)
      return -1;
    if (ftpNetWaitReadable(FtpCurrentContext->control, FTP_NO_SOCKET, FtpLongWait(FTP_ABORT_WAIT_MS)) <= 0) {
      FtpLostConnection();
      return -1;
    }
    FtpReplyReader(0);
  }
  return FtpCurrentContext->control == FTP_NO_SOCKET ? -1 : 0;
}

/* The second server's passive port for the primary: over IPv4 the PORT text
 * from its PASV reply, over IPv6 its address with the port of its EPSV
 * reply. 0, or -1 when it refused or named no valid port. */
static int FtpProxyPassive(char *portText, size_t size, FtpAddress *second)
{
  *second = FtpCurrentContext->remote;
  if (second->family == FTP_IPV6)
    return FtpExtendedPassive(&second->port) == 0 ? 0 : -1;
  FtpLastReply.pasvText[0] = '\0';
  return FtpCommand("PASV") == 2 && FtpProxyPortText(portText, size) == 0 ? 0 : -1;
}

int FtpServerToServer(const char *source, const char *target)
{
  /* Each server is sent to the other at the address this side reached it
   * at: over IPv4 the one, over IPv6 the other, they cannot meet. */
  const FtpContext *primary = &FtpContexts[FTP_PRIMARY];
  if (primary->control != FTP_NO_SOCKET && primary->remote.family != FtpCurrentContext->remote.family) {
    fprintf(stderr, "ftp: FtpProxy: the primary server is reached over %s, the second over %s: "
                    "they cannot connect to each other\n",
            primary->remote.family == FTP_IPV6 ? "IPv6" : "IPv4",
            FtpCurrentContext->remote.family == FTP_IPV6 ? "IPv6" : "IPv4");
    fflush(stderr);
    FtpErrnoCode = FTPERR_COMMAND;
    return -1;
  }
  /* On the second server: a passive port for the primary to connect to. */
  char portText[32];
  FtpAddress second;
  if (FtpProxyPassive(portText, sizeof portText, &second) != 0) {
    FtpErrnoCode = FTPERR_PROXYTHIRD;
    return -1;
  }
  int secondType = FtpCurrentContext->currentType;

  FtpSwitchContext(FTP_PRIMARY);
  if (!FtpCurrentContext->connected || FtpCurrentContext->control == FTP_NO_SOCKET) {
    FtpSwitchContext(FTP_SECOND);
    FtpErrnoCode = FTPERR_NOPRIMARY;
    return -1;
  }
  int remembered = 0;
  if (FtpCurrentContext->currentType != secondType) {
    remembered = FtpCurrentContext->currentType;
    FtpSetType(secondType);
  }
  int portClass = second.family == FTP_IPV6 ? FtpExtendedPort(&second) : FtpCommand("PORT %s", portText);
  if (portClass != 2) {
    FtpRestoreCurrentType(remembered);
    FtpSwitchContext(FTP_SECOND);
    FtpErrnoCode = FTPERR_COMMAND;
    return -1;
  }
  int token = ftpSignalCatchInterrupt();
  if (FtpCommand("%s %s", "STOR", target) != 1) {
    ftpSignalRestoreInterrupt(token);
    FtpRestoreCurrentType(remembered);
    FtpSwitchContext(FTP_SECOND);
    FtpErrnoCode = FTPERR_COMMAND;
    return -1;
  }
  ftpSignalPause(FtpProxyPause());

  if (!ftpSignalInterrupted()) {
    FtpSwitchContext(FTP_SECOND);
    int secondEnd, primaryEnd;
    if (FtpCommand("%s %s", "RETR", source) == 1 && FtpProxyReply(&secondEnd) == 0) {
      FtpSwitchContext(FTP_PRIMARY);
      if (FtpProxyReply(&primaryEnd) == 0) {
        ftpSignalRestoreInterrupt(token);
        FtpRestoreCurrentType(remembered);
        FtpSwitchContext(FTP_SECOND);
        /* A 4xx or 5xx at the end on either side: the file did not arrive whole. */
        if (secondEnd >= 4 || primaryEnd >= 4) {
          FtpErrnoCode = FTPERR_COMMAND;
          return -1;
        }
        return 0;
      }
    }
  }

  /* RETR refused, an interrupt, or a final reply that did not come: stop
   * what is still running on either side. */
  ftpSignalIgnoreInterrupt();
  int dropped = 0;
  const int sides[] = {FTP_SECOND, FTP_PRIMARY};
  for (int side : sides) {
    if (dropped)
      break;
    FtpSwitchContext(side);
    if (FtpCurrentContext->commandPending && FtpCurrentContext->control != FTP_NO_SOCKET)
      dropped = FtpProxyAbort() != 0;
  }
  if (!dropped) {
    FtpSwitchContext(FTP_PRIMARY);
    FtpRestoreCurrentType(remembered);
  }
  FtpSwitchContext(FTP_SECOND);
  ftpSignalRestoreInterrupt(token);   /* the handler from before the transfer, not "ignore" */
  FtpErrnoCode = dropped ? FTPERR_COMMAND : FTPERR_ABORT;
  return -1;
}

/* Both control connections end without QUIT; their entries reconnect on
 * their next use. */
static void FtpProxyDropBoth(void)
{
  const int sides[] = {FTP_SECOND, FTP_PRIMARY};
  for (int side : sides) {
    FtpSwitchContext(side);
    FtpCloseData();
    FtpDropControl();
    FtpCurrentContext->connected = 0;
  }
}

int FtpProxyTransfer(const FtpLoginTexts *primary, const FtpLoginTexts *second, const char *target,
                     const char *source, int type)
{
  if (FtpEngineStart() != 0)
    return -1;
  const char *required[] = {primary->host, primary->user, second->host, second->user, target, source};
  for (const char *text : required)
    if (FtpTextBlank(text)) {
      FtpErrnoCode = FTPERR_COMMAND;
      return -1;
    }
  /* Over TLS the two servers would have to protect the data connection
   * between them themselves: not offered. */
  if (FtpSessionCache.secure) {
    fprintf(stderr, "ftp: TLS: FtpProxy is not offered over TLS (FtpSetSecure 0 first)\n");
    fflush(stderr);
    FtpErrnoCode = FTPERR_TLS;
    return -1;
  }
  if (FtpSecondIsCurrent())
    FtpSwitchContext(FTP_PRIMARY);

  if (FtpOpenSession(primary->host, primary->user, primary->password, primary->account) != 0)
    return -1;
  int primaryType = FtpCurrentSession()->type;
  FtpEnsureType(type);
  int primaryEntry = FtpSessionCache.current;

  FtpSwitchContext(FTP_SECOND);
  /* Identical logins: a connection of its own for the second side (accounts
   * are not compared), though not a new one on every call. */
  if (strcmp(primary->host, second->host) == 0 && strcmp(primary->user, second->user) == 0 &&
      strcmp(primary->password, second->password) == 0)
    FtpSessionCache.avoid = primaryEntry;
  if (FtpOpenSession(second->host, second->user, second->password, second->account) != 0) {
    FtpSwitchContext(FTP_PRIMARY);
    return -1;
  }
  int secondType = FtpCurrentSession()->type;
  FtpEnsureType(type);

  /* Only with the second context current is the upload the transfer between
   * the servers; had the second connection been lost on the way (its TYPE),
   * it would send a local file of the source's name. */
  int rc;
  if (!FtpSecondIsCurrent() || FtpCurrentContext->control == FTP_NO_SOCKET) {
    FtpErrnoCode = FTPERR_COMMAND;
    rc = -1;
  } else {
    rc = FtpUpload("STOR", source, target);
  }
  FtpSwitchContext(FTP_PRIMARY);
  if (rc == 0) {
    if (FtpRestoreSessionType(primaryType) != 0) {
      FtpErrnoCode = FTPERR_NOPRIMARY;
      rc = -1;
    } else {
      FtpSwitchContext(FTP_SECOND);
      if (FtpRestoreSessionType(secondType) != 0) {
        FtpErrnoCode = FTPERR_COMMAND;
        rc = -1;
      }
      FtpSwitchContext(FTP_PRIMARY);
    }
    if (rc == 0)
      return 0;
  }
  FtpProxyDropBoth();
  return -1;
}
