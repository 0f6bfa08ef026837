/* Sessions: start-up, the session cache, connecting, logging in, reusing and
 * reconnecting cached control connections, closing them all. */
#include "engine.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "console.h"
#include "signals.h"
#include "warning_box.h"
#include "tls.h"

#define FTP_MAX_ADDRESSES 16

/* The start-up marks every entry unconnected and none current. */
FtpSessionTable FtpSessionCache = {{}, 0, 0, -1, 0, 0};

static int FtpStarted;
static int FtpServiceKnown;
static unsigned short FtpServicePort;

static void FtpMemoryGone(int status)
{
  printf("malloc failed\n");
  fflush(stdout);
  exit(status);
}

static char *FtpCopyText(const char *text)
{
  size_t length = strlen(text);
  char *copy = static_cast<char *>(malloc(length + 1));
  if (copy == NULL)
    FtpMemoryGone(1);
  memcpy(copy, text, length + 1);
  return copy;
}

static void FtpReplaceText(char **slot, const char *text)
{
  char *copy = text ? FtpCopyText(text) : NULL;
  free(*slot);
  *slot = copy;
}

void FtpSetSessionDirectory(FtpSession *session, const char *directory)
{
  FtpReplaceText(&session->directory, directory);
}

static FtpAddress *FtpAddressSlot(FtpAddress *slot)
{
  if (slot == NULL) {
    slot = static_cast<FtpAddress *>(malloc(sizeof *slot));
    if (slot == NULL)
      FtpMemoryGone(-1);
  }
  return slot;
}

int FtpEngineStart(void)
{
  if (!FtpStarted) {
    /* Marked done first: a failed service lookup does not start it again. */
    FtpStarted = 1;
    ftpNetStart();
    for (int i = 0; i < FTP_SESSION_COUNT; i++)
      FtpSessionCache.entries[i].control = FTP_NO_SOCKET;
    FtpSessionCache.current = -1;
    FtpContexts[0].currentType = FTP_TYPE_ASCII;
  }
  if (!FtpServiceKnown) {
    /* Looked up again until it is known, so a later call can still succeed. */
    if (ftpNetServicePort("ftp", "tcp", &FtpServicePort) != 0) {
      fprintf(stderr, "ftp: ftp/tcp: unknown service\n");
      fflush(stderr);
      FtpErrnoCode = FTPERR_SERVICE;
      return -1;
    }
    FtpServiceKnown = 1;
  }
  return 0;
}

FtpSession *FtpCurrentSession(void)
{
  if (FtpSessionCache.current < 0 || FtpSessionCache.current >= FTP_SESSION_COUNT)
    return NULL;
  return &FtpSessionCache.entries[FtpSessionCache.current];
}

void FtpSecureSessionsFailed(void)
{
  FtpSessionCache.secure = 1;
  FtpSessionCache.secureUnusable = 1;
}

int FtpSetSecureSessions(int on, const char *trustFile)
{
  if (trustFile) {
    FILE *file = fopen(trustFile, "rb");
    if (file == NULL) {
      fprintf(stderr, "%s: %s\n", trustFile, strerror(errno));
      fflush(stderr);
      FtpErrnoCode = FTPERR_LOCALFILE;
      if (on)
        FtpSecureSessionsFailed();
      return -1;
    }
    fclose(file);
  }
  char failure[256];
  if ((on || trustFile) && ftpTlsTrust(trustFile, failure, sizeof failure) != 0) {
    fprintf(stderr, "ftp: TLS: %s\n", failure);
    fflush(stderr);
    FtpErrnoCode = FTPERR_TLS;
    if (on)
      FtpSecureSessionsFailed();
    return -1;
  }
  FtpSessionCache.secure = on;
  FtpSessionCache.secureUnusable = 0;
  return 0;
}

/* Explicit TLS on the new control connection, before anything of the login
 * goes: AUTH TLS, the handshake with the server's certificate checked
 * against host, then protected data connections (PBSZ 0, PROT P). */
static int FtpSecureControl(const char *host)
{
  const char *refusal = NULL;
  if (FtpCommand("AUTH TLS") != 2 || FtpLastReply.code != 234)
    refusal = "the server refused AUTH TLS";
  else if (FtpChannelProtect(FtpCurrentContext->control, host, FTP_NO_SOCKET) != 0)
    refusal = "";   /* the reason is written */
  else if (FtpCommand("PBSZ 0") != 2 || FtpCommand("PROT P") != 2)
    refusal = "the server refused protected data connections";
  if (refusal == NULL)
    return 0;
  if (refusal[0]) {
    fprintf(stderr, "ftp: TLS: %s\n", refusal);
    fflush(stderr);
  }
  FtpErrnoCode = FTPERR_TLS;
  return -1;
}

/* A socket for an address, or FTP_NO_SOCKET. An address whose family the
 * system has no sockets for (IPv6 switched off) counts as one that refused
 * while further addresses follow: more is 1 then. */
static FtpSocket FtpSocketFor(const FtpAddress *address, int more, int *passOver)
{
  FtpSocket s = ftpNetSocket(address->family);
  *passOver = s == FTP_NO_SOCKET && more && ftpNetLastError() == FTP_NET_NO_FAMILY;
  return s;
}

/* Connects the current context to a host text ("host" or "host port"),
 * secure: with TLS. Each address of the host is tried in the resolver's
 * order until one connects. */
static int FtpConnect(const char *hostText, int secure)
{
  char host[FTP_HOST_TEXT_SIZE];
  unsigned short port = FtpServicePort;
  int hasPort;
  int parsed = FtpParseHostText(hostText, host, sizeof host, &port, &hasPort);
  if (parsed == FTP_HOST_TEXT_MALFORMED) {
    FtpErrnoCode = FTPERR_HOST;      /* brackets around no IPv6 address */
    return -1;
  }
  if (parsed != 0) {
    FtpErrnoCode = FTPERR_CONNECT;   /* no such port to connect to */
    return -1;
  }
  FtpAddress addresses[FTP_MAX_ADDRESSES];
  int count;
  if (ftpNetParseNumeric(host, &addresses[0]) == 0) {
    count = 1;
  } else {
    count = ftpNetResolve(host, addresses, FTP_MAX_ADDRESSES);
    if (count == 0) {
      FtpErrnoCode = FTPERR_HOST;
      return -1;
    }
  }

  int passOver;
  FtpSocket s = FtpSocketFor(&addresses[0], count > 1, &passOver);
  if (s == FTP_NO_SOCKET && !passOver) {
    ftpWarningBox("ftp: socket");
    FtpErrnoCode = FTPERR_SOCKET;
    return -1;
  }
  ftpSignalCancelOn();
  ftpSignalCancelSocket(s);
  int tried = 0;
  for (;;) {
    addresses[tried].port = port;
    if (s != FTP_NO_SOCKET) {
      /* Reuse lets the fall-back to the default data port bind this
       * connection's own port later (the system refuses it otherwise). The
       * port is taken with bind() rather than by connect(): connect() may
       * take a port that another program's closed connection still holds
       * in TIME_WAIT, and that connection, made without reuse, would refuse
       * the listener's bind. Where bind() finds no port, connect() chooses. */
      ftpNetReuseAddress(s);
      FtpAddress anyPort;
      memset(&anyPort, 0, sizeof anyPort);
      anyPort.family = addresses[tried].family;
      ftpNetBind(s, &anyPort);
      if (ftpNetConnect(s, &addresses[tried]) == 0)
        break;
    }
    if (tried + 1 < count) {
      char failed[FTP_ADDRESS_TEXT_SIZE], next[FTP_ADDRESS_TEXT_SIZE];
      FtpAddressText(&addresses[tried], failed, sizeof failed);
      FtpAddressText(&addresses[tried + 1], next, sizeof next);
      fprintf(stderr, "ftp: connect to address %s: %s\n", failed, ftpNetErrorText(ftpNetLastError()));
      fflush(stderr);
      printf("Trying %s...\n", next);
      fflush(stdout);
      if (s != FTP_NO_SOCKET)
        ftpNetClose(s);
      s = FtpSocketFor(&addresses[tried + 1], tried + 2 < count, &passOver);
      ftpSignalCancelSocket(s);
      if (s == FTP_NO_SOCKET && !passOver) {
        FtpErrnoCode = FTPERR_SOCKET;
        return -1;
      }
      tried++;
      continue;
    }
    FtpErrnoCode = FTPERR_CONNECT;
    if (s != FTP_NO_SOCKET)
      ftpNetClose(s);
    ftpSignalCancelSocket(FtpCurrentContext->control);
    return -1;
  }

  FtpAddress local;
  if (ftpNetLocalAddress(s, &local) != 0) {
    ftpWarningBox("ftp: Rgetsockname");
    ftpNetClose(s);
    ftpSignalCancelSocket(FtpCurrentContext->control);
    return -1;
  }
  FtpUseControl(s);
  FtpCurrentContext->local = local;
  FtpCurrentContext->remote = addresses[tried];
  FtpCurrentContext->data = FTP_NO_SOCKET;
  FtpCurrentContext->commandPending = 0;
  if (FtpReplyReader(0) > 2) {
    FtpDropControl();   /* a refused greeting; the code stays as it was */
    return -1;
  }
  ftpNetOobInline(FtpCurrentContext->control);
  if (secure && FtpSecureControl(host) != 0) {
    FtpDropControl();
    return -1;
  }
  return 0;
}

static int FtpLogin(const char *user, const char *password, const char *account)
{
  int replyClass = FtpCommand("USER %s", user);
  int sentAccount = 0;
  if (replyClass == 3)
    replyClass = FtpCommand("PASS %s", password);
  if (replyClass == 3) {
    char typed[FTP_ACCOUNT_PROMPT_SIZE];
    if (account == NULL) {
      /* Nobody to ask without a terminal: the login fails. */
      if (ftpConsoleReadAccount(typed, sizeof typed) != 0) {
        FtpErrnoCode = FTPERR_LOGIN;
        return -1;
      }
      account = typed;
    }
    replyClass = FtpCommand("ACCT %s", account);
    sentAccount = 1;
  }
  if (replyClass != 2) {
    FtpErrnoCode = FTPERR_LOGIN;
    return -1;
  }
  if (!sentAccount && account != NULL && FtpCommand("ACCT %s", account) == 4) {
    FtpErrnoCode = FTPERR_LOGIN;
    return -1;
  }
  return 0;
}

static int FtpSameLogin(const FtpSession *entry, const char *host, const char *user,
                        const char *password, const char *account)
{
  if (entry->host == NULL || entry->user == NULL || entry->password == NULL)
    return 0;
  if (entry->secure != FtpSessionCache.secure)
    return 0;
  if (strcmp(entry->host, host) || strcmp(entry->user, user) || strcmp(entry->password, password))
    return 0;
  if ((entry->account == NULL) != (account == NULL))
    return 0;
  return account == NULL || strcmp(entry->account, account) == 0;
}

/* Takes a cache entry into the current context. */
static void FtpTakeEntry(int index)
{
  FtpSession *entry = &FtpSessionCache.entries[index];
  FtpSessionCache.current = index;
  if (entry->local)
    FtpCurrentContext->local = *entry->local;
  if (entry->remote)
    FtpCurrentContext->remote = *entry->remote;
  FtpUseControl(entry->control >= 0 ? entry->control : FTP_NO_SOCKET);
  FtpCurrentContext->connected = FtpCurrentContext->control != FTP_NO_SOCKET;
  FtpCurrentContext->currentType = entry->type;
  FtpCurrentContext->commandPending = 0;
}

static void FtpStoreAddresses(FtpSession *entry)
{
  entry->local = FtpAddressSlot(entry->local);
  entry->remote = FtpAddressSlot(entry->remote);
  *entry->local = FtpCurrentContext->local;
  *entry->remote = FtpCurrentContext->remote;
}

/* The server dropped the entry's connection: connect and log in again, and
 * go back to the directory the session was in. */
static int FtpReconnect(FtpSession *entry)
{
  if (FtpConnect(entry->host, entry->secure) != 0)
    return -1;
  FtpCurrentContext->connected = 1;
  if (FtpLogin(entry->user, entry->password, entry->account) != 0) {
    FtpDropControl();
    FtpCurrentContext->connected = 0;
    return -1;
  }
  entry->control = FtpCurrentContext->control;
  entry->type = FTP_TYPE_ASCII;
  FtpCurrentContext->currentType = FTP_TYPE_ASCII;
  FtpStoreAddresses(entry);
  if (entry->directory && entry->directory[0]) {
    FtpCommand("CWD %s", entry->directory);
    if (FtpLastReply.code >= 400) {
      char reply[FTP_DIRECTORY_SIZE];
      char directory[FTP_DIRECTORY_SIZE];
      FtpCaptureReply("PWD", reply, sizeof reply, 0);
      /* Without a quoted name the directory is unknown, but the new
       * connection serves all the same. */
      if (FtpLastReply.code >= 400 || FtpQuotedText(reply, directory, sizeof directory) != 0)
        directory[0] = '\0';
      FtpReplaceText(&entry->directory, directory);
    }
  }
  return 0;
}

/* Ends the connection of an entry the counter came round to. */
static void FtpEvict(FtpSession *entry)
{
  if (entry->control < 0)
    return;
  FtpSocket fresh = FtpCurrentContext->control;
  FtpSocket data = FtpCurrentContext->data;
  FtpCurrentContext->data = FTP_NO_SOCKET;
  FtpUseControl(entry->control);
  FtpCommand("QUIT");
  FtpDropControl();
  FtpUseControl(fresh);
  FtpCurrentContext->data = data;
  FtpCurrentContext->connected = 1;
}

/* FtpOpenSession's work, all of it on the current context: a cached entry
 * of the login probed with NOOP and reconnected when its server dropped it,
 * or a new connection and login in the next entry. */
static int FtpOpenSessionInCurrentContext(const char *host, const char *user, const char *password,
                                          const char *account)
{
  int found = -1;
  for (int i = 0; i < FTP_SESSION_COUNT && found < 0; i++)
    if (i != FtpSessionCache.avoid && FtpSameLogin(&FtpSessionCache.entries[i], host, user, password, account))
      found = i;
  FtpSessionCache.avoid = -1;

  if (found >= 0) {
    FtpTakeEntry(found);
    FtpSession *entry = &FtpSessionCache.entries[found];
    if (FtpCurrentContext->control != FTP_NO_SOCKET &&
        FtpChannelSend(FtpCurrentContext->control, "NOOP\r\n", 6) == 6) {
      FtpReplyReader(0);
      if (FtpCurrentContext->control != FTP_NO_SOCKET)
        return 0;
    }
    /* A probe that could not be sent leaves the old socket to close. */
    if (FtpCurrentContext->control != FTP_NO_SOCKET)
      FtpDropControl();
    return FtpReconnect(entry);
  }

  if (FtpConnect(host, FtpSessionCache.secure) != 0)
    return -1;
  FtpCurrentContext->connected = 1;
  if (FtpLogin(user, password, account) != 0) {
    FtpDropControl();
    FtpCurrentContext->connected = 0;
    return -1;
  }
  /* The directory first, so that a failed open leaves the cache as it was. */
  char reply[FTP_DIRECTORY_SIZE];
  char directory[FTP_DIRECTORY_SIZE];
  FtpCaptureReply("PWD", reply, sizeof reply, 0);
  if (FtpLastReply.code >= 400) {
    directory[0] = '\0';
  } else if (FtpQuotedText(reply, directory, sizeof directory) != 0) {
    FtpErrnoCode = FTPERR_LOGIN;
    FtpDropControl();
    FtpCurrentContext->connected = 0;
    return -1;
  }
  if (FtpCurrentContext->control == FTP_NO_SOCKET) {
    FtpErrnoCode = FTPERR_LOGIN;   /* lost while reading the directory */
    return -1;
  }

  int index = FtpSessionCache.next;
  FtpSession *entry = &FtpSessionCache.entries[index];
  FtpEvict(entry);
  FtpReplaceText(&entry->host, host);
  FtpReplaceText(&entry->user, user);
  FtpReplaceText(&entry->password, password);
  FtpReplaceText(&entry->account, account);
  FtpReplaceText(&entry->directory, directory);
  FtpStoreAddresses(entry);
  entry->control = FtpCurrentContext->control;
  entry->type = FTP_TYPE_ASCII;
  entry->activeMode = 0;
  entry->dataConnected = 0;
  entry->secure = FtpSessionCache.secure;
  FtpSessionCache.current = index;
  FtpCurrentContext->currentType = FTP_TYPE_ASCII;
  FtpSessionCache.next = static_cast<unsigned char>(FtpSessionCache.next + 1);
  return 0;
}

int FtpOpenSession(const char *host, const char *user, const char *password, const char *account)
{
  if (FtpSessionCache.secureUnusable) {
    /* Plain FTP here would send the login in clear to whoever answers. */
    fprintf(stderr, "ftp: TLS: FtpSetSecure 1 failed: no session until FtpSetSecure succeeds\n");
    fflush(stderr);
    FtpErrnoCode = FTPERR_TLS;
    return -1;
  }
  /* A cached connection that its server dropped (the NOOP probe), or one
   * that eviction ends, is this context's affair: the reconnect stays in
   * this context, and the other context's connection is left alone (the
   * primary's live one while FtpProxy opens its second login). */
  int before = FtpKeepOtherContext(1);
  int rc = FtpOpenSessionInCurrentContext(host, user, password, account);
  FtpKeepOtherContext(before);
  return rc;
}

int FtpPrelude(const FtpLoginTexts *login, int count, const char *const *required)
{
  if (FtpEngineStart() != 0)
    return -1;
  if (FtpTextBlank(login->host) || FtpTextBlank(login->user)) {
    FtpErrnoCode = FTPERR_COMMAND;
    return -1;
  }
  for (int i = 0; i < count; i++)
    if (FtpTextBlank(required[i])) {
      FtpErrnoCode = FTPERR_COMMAND;
      return -1;
    }
  return FtpOpenSession(login->host, login->user, login->password, login->account);
}

void FtpCloseAllSessions(void)
{
  if (!FtpStarted)
    return;   /* the entries are not set up: nothing was ever opened */
  if (FtpSecondIsCurrent())
    FtpSwitchContext(FTP_PRIMARY);
  for (int i = 0; i < FTP_SESSION_COUNT; i++) {
    FtpSession *entry = &FtpSessionCache.entries[i];
    if (entry->control == FTP_NO_SOCKET)
      continue;
    if (entry->control >= 0) {
      FtpUseControl(entry->control);
      FtpCommand("QUIT");
      FtpDropControl();
    }
    entry->control = FTP_NO_SOCKET;
    FtpReplaceText(&entry->host, NULL);
    FtpReplaceText(&entry->user, NULL);
    FtpReplaceText(&entry->password, NULL);
    FtpReplaceText(&entry->account, NULL);
    FtpReplaceText(&entry->directory, NULL);
    free(entry->local);
    free(entry->remote);
    entry->local = entry->remote = NULL;
  }
  FtpUseControl(FTP_NO_SOCKET);
  FtpCurrentContext->connected = 0;
  FtpContexts[FTP_SECOND].control = FTP_NO_SOCKET;
  FtpContexts[FTP_SECOND].connected = 0;
  FtpContexts[FTP_SECOND].session = -1;
  FtpSessionCache.next = 0;
  FtpSessionCache.current = -1;
}
