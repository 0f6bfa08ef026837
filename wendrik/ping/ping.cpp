/* The round-trip measurement: echo requests over an ICMP socket with a
 * three-second budget, the host text and its addresses. */
#include "ping.h"

#include <string.h>

#include "ftp/net.h"
#include "icmp.h"

/* The sequence of every request of one ping; one more per ping. */
static unsigned short PingSequence;

#define PING_REQUESTS 3

static long PingOverSocket(const unsigned char ip[4], long requestedLength)
{
  int dataLength = PingDataLength(requestedLength);
  int protocol;
  if (pingProtocol(&protocol) != 0)
    return PING_PROTO;
  int withIpHeader = 1;
  PingSocket s = pingOpenRaw(protocol);
  if (s == PING_NO_SOCKET) {
    /* Without the privilege for a raw socket, the system's unprivileged
     * ICMP socket where it allows one. */
    s = pingOpenDatagram(protocol);
    withIpHeader = 0;
  }
  if (s == PING_NO_SOCKET)
    return PING_SOCKET;

  unsigned short sequence = PingSequence++;
  unsigned char identifier[2];
  PingIdentifierField(pingProcessId(), identifier);
  unsigned char request[PING_REQUEST_MAX];
  unsigned char datagram[PING_RECEIVE_SIZE];
  unsigned long start = pingTicks();
  for (int round = 0;; round++) {
    if (round < PING_REQUESTS) {
      size_t length = PingBuildRequest(request, dataLength, identifier, sequence, pingTicks());
      if (pingSend(s, ip, request, length) != static_cast<long>(length)) {
        pingClose(s);
        return PING_SEND;
      }
      if (!withIpHeader && round == 0)
        pingIdentifierOf(s, identifier);   /* the system chose it */
    }
    /* What is left of the budget since the start: foreign datagrams
     * (every ICMP message of the host reaches a raw socket) do not shorten it. */
    unsigned long elapsed = pingTicks() - start;
    long remaining = PING_BUDGET_MS - static_cast<long>(elapsed > 0x7fffffffUL ? 0x7fffffffUL : elapsed);
    if (remaining <= 0) {
      pingClose(s);
      return PING_REPLY;
    }
    int ready = pingWait(s, remaining);
    if (ready < 0) {
      pingClose(s);
      return PING_RECV;
    }
    if (ready == 0)
      continue;
    long got = pingReceive(s, datagram, sizeof datagram);
    if (got < 0)
      continue;
    if (got == 0) {
      pingClose(s);
      return PING_RECV;
    }
    unsigned long tick = 0;
    int hasTick = 0;
    if (!PingMatchReply(datagram, static_cast<size_t>(got), withIpHeader, identifier, sequence, &tick, &hasTick))
      continue;
    unsigned long now = pingTicks();
    if (!hasTick)
      tick = start;   /* a request of fewer than 4 data bytes carries no whole tick count */
    /* A tick count that none of this ping's requests carried: not our reply. */
    if (((tick - start) & 0xffffffffUL) > ((now - start) & 0xffffffffUL))
      continue;
    pingClose(s);
    return static_cast<long>((now - tick) & 0xffffffffUL);
  }
}

long PingAddress(const unsigned char ip[4], long requestedLength)
{
  long result = PingOverSocket(ip, requestedLength);
  if (result == PING_SOCKET)
    result = pingSystemEcho(ip, requestedLength);
  return result;
}

long PingHost(const char *hostText, long requestedLength)
{
  /* "host more words": the host is the part before the first blank. A
   * longer name than any host can have is not cut into another one. */
  const char *blank = strchr(hostText, ' ');
  size_t length = blank ? static_cast<size_t>(blank - hostText) : strlen(hostText);
  if (length == 0 || length > PING_HOST_MAX)
    return PING_HOST;
  char host[PING_HOST_MAX + 1];
  memcpy(host, hostText, length);
  host[length] = '\0';

  FtpAddress addresses[2];
  if (ftpNetParseDotted(host, &addresses[0]) == 0)
    return PingAddress(addresses[0].ip, requestedLength);
  int count = ftpNetResolve(host, addresses, 2);
  if (count == 0)
    return PING_HOST;
  long first = PingAddress(addresses[0].ip, requestedLength);
  if (first < 0 && count > 1) {
    long second = PingAddress(addresses[1].ip, requestedLength);
    if (second >= 0)
      return second;
  }
  return first;
}
