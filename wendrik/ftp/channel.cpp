/* The bytes of control and data connections. A connection under TLS goes
 * through the TLS port; any other goes straight to the sockets port, each
 * call to the net.h call of the same name. Protected connections are found
 * by their socket number, so they follow the socket wherever the engine keeps
 * it (the contexts, the cache entries); closing the socket ends its TLS. */
#include "engine.h"

#include <stdio.h>
#include <string.h>

#include "tls.h"

/* Every cache entry's control connection and a data connection per context. */
#define FTP_PROTECTED_COUNT (FTP_SESSION_COUNT + 4)
#define FTP_HELD_SIZE 512

struct FtpProtectedConnection {
  FtpTls *tls;             /* null: the slot is free */
  FtpSocket socket;
  /* Plaintext that has come but is not yet taken: a reply is looked at
   * before its bytes are taken, as a peek on a plain socket does. */
  unsigned char held[FTP_HELD_SIZE];
  size_t heldStart;
  size_t heldLength;
  int ended;               /* 1 the server's orderly end, -1 a failure */
};

static FtpProtectedConnection FtpProtections[FTP_PROTECTED_COUNT];
static int FtpProtectedCount;

static FtpProtectedConnection *FtpProtectionOf(FtpSocket s)
{
  if (FtpProtectedCount == 0 || s == FTP_NO_SOCKET)
    return NULL;
  for (FtpProtectedConnection &entry : FtpProtections)
    if (entry.tls != NULL && entry.socket == s)
      return &entry;
  return NULL;
}

static void FtpForgetProtection(FtpProtectedConnection *entry, long notifyWait)
{
  ftpTlsClose(entry->tls, notifyWait);
  entry->tls = NULL;
  FtpProtectedCount--;
}

int FtpChannelProtected(FtpSocket s)
{
  return FtpProtectionOf(s) != NULL;
}

int FtpChannelProtect(FtpSocket s, const char *host, FtpSocket resumeFrom)
{
  char failure[256];
  /* A stale entry of this number would be another connection's. */
  FtpProtectedConnection *stale = FtpProtectionOf(s);
  if (stale)
    FtpForgetProtection(stale, 0);
  FtpProtectedConnection *resume = FtpProtectionOf(resumeFrom);
  FtpProtectedConnection *slot = NULL;
  for (FtpProtectedConnection &entry : FtpProtections)
    if (entry.tls == NULL) {
      slot = &entry;
      break;
    }
  FtpTls *tls = NULL;
  if (slot == NULL)
    snprintf(failure, sizeof failure, "no room for another protected connection");
  else if (resumeFrom != FTP_NO_SOCKET && resume == NULL)
    snprintf(failure, sizeof failure, "the control connection is not protected");
  else
    tls = ftpTlsConnect(s, host, resume ? resume->tls : NULL, FtpLongWait(FTP_DATA_WAIT_MS), failure,
                        sizeof failure);
  if (tls == NULL) {
    fprintf(stderr, "ftp: TLS: %s\n", failure);
    fflush(stderr);
    return -1;
  }
  slot->tls = tls;
  slot->socket = s;
  slot->heldStart = slot->heldLength = 0;
  slot->ended = 0;
  FtpProtectedCount++;
  return 0;
}

void FtpChannelFinish(FtpSocket s)
{
  FtpProtectedConnection *entry = FtpProtectionOf(s);
  if (entry)
    FtpForgetProtection(entry, FtpLongWait(FTP_DATA_WAIT_MS));
}

void FtpChannelAbandon(FtpSocket s)
{
  FtpProtectedConnection *entry = FtpProtectionOf(s);
  if (entry == NULL)
    return;
  ftpTlsDrop(entry->tls);
  entry->tls = NULL;
  FtpProtectedCount--;
  ftpNetResetOnClose(s);
}

void FtpChannelClose(FtpSocket s, int shutdownFirst)
{
  FtpProtectedConnection *entry = FtpProtectionOf(s);
  if (entry)
    FtpForgetProtection(entry, 0);
  if (shutdownFirst)
    ftpNetShutdown(s);
  ftpNetClose(s);
}

long FtpChannelSend(FtpSocket s, const void *bytes, size_t length)
{
  FtpProtectedConnection *entry = FtpProtectionOf(s);
  if (entry == NULL)
    return ftpNetSend(s, bytes, length, 0);
  long sent = ftpTlsSend(entry->tls, bytes, length, FtpLongWait(FTP_DATA_WAIT_MS));
  return sent > 0 ? sent : -1;
}

long FtpChannelSendWithin(FtpSocket s, const void *bytes, size_t length, long milliseconds)
{
  FtpProtectedConnection *entry = FtpProtectionOf(s);
  if (entry == NULL)
    return ftpNetSendWithin(s, bytes, length, milliseconds);
  return ftpTlsSend(entry->tls, bytes, length, milliseconds);
}

/* Held plaintext into buffer: the count taken, or 0 when none is held. */
static long FtpTakeHeld(FtpProtectedConnection *entry, void *buffer, size_t size, int keep)
{
  size_t count = entry->heldLength < size ? entry->heldLength : size;
  if (count == 0)
    return 0;
  memcpy(buffer, entry->held + entry->heldStart, count);
  if (!keep) {
    entry->heldStart += count;
    entry->heldLength -= count;
  }
  return static_cast<long>(count);
}

/* Fills the held plaintext when it is empty: 1 something held or the end
 * known, 0 nothing came within milliseconds. */
static int FtpFillHeld(FtpProtectedConnection *entry, long milliseconds)
{
  if (entry->heldLength > 0 || entry->ended)
    return 1;
  long got = ftpTlsReceive(entry->tls, entry->held, sizeof entry->held, milliseconds);
  if (got == FTP_NET_TIMED_OUT)
    return 0;
  if (got > 0) {
    entry->heldStart = 0;
    entry->heldLength = static_cast<size_t>(got);
  } else {
    entry->ended = got == 0 ? 1 : -1;
  }
  return 1;
}

long FtpChannelReceiveWithin(FtpSocket s, void *buffer, size_t size, long milliseconds)
{
  FtpProtectedConnection *entry = FtpProtectionOf(s);
  if (entry == NULL)
    return ftpNetReceiveWithin(s, buffer, size, milliseconds);
  long held = FtpTakeHeld(entry, buffer, size, 0);
  if (held > 0)
    return held;
  if (entry->ended)
    return entry->ended > 0 ? 0 : -1;
  return ftpTlsReceive(entry->tls, buffer, size, milliseconds);
}

long FtpChannelPeek(FtpSocket s, void *buffer, size_t size)
{
  FtpProtectedConnection *entry = FtpProtectionOf(s);
  if (entry == NULL)
    return ftpNetPeek(s, buffer, size);
  if (!FtpFillHeld(entry, FtpLongWait(FTP_DATA_WAIT_MS)))
    return -1;
  long held = FtpTakeHeld(entry, buffer, size, 1);
  if (held > 0)
    return held;
  return entry->ended > 0 ? 0 : -1;
}

long FtpChannelReceive(FtpSocket s, void *buffer, size_t size)
{
  FtpProtectedConnection *entry = FtpProtectionOf(s);
  if (entry == NULL)
    return ftpNetReceive(s, buffer, size);
  return FtpChannelReceiveWithin(s, buffer, size, FtpLongWait(FTP_DATA_WAIT_MS));
}

int FtpChannelWaitReadable(FtpSocket a, FtpSocket b, long milliseconds)
{
  FtpProtectedConnection *entry = FtpProtectionOf(a);
  if (entry == NULL)
    entry = FtpProtectionOf(b);
  if (entry == NULL)
    return ftpNetWaitReadable(a, b, milliseconds);
  /* Readable bytes on the socket may be no more than part of a record or a
   * message of TLS's own: readable here means plaintext (or the end) came. */
  return FtpFillHeld(entry, milliseconds < 0 ? FtpLongWait(FTP_DATA_WAIT_MS) : milliseconds);
}
