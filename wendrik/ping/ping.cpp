/* The round-trip measurement: echo requests over an ICMP or ICMPv6 socket
 * with a three-second budget, the host text and its addresses. */
#include "ping.h"

#include <string.h>

#include "ftp/net.h"
#include "ftp/parse.h"
#include "icmp.h"

/* The sequence of every request of one ping; one more per ping. */
static unsigned short PingSequence;

#define PING_REQUESTS 3

static long PingOverSocket(const FtpAddress *to, long requestedLength)
{
  int dataLength = PingDataLength(requestedLength);
  int protocol;
  if (pingProtocol(to->family, &protocol) != 0)
    return PING_PROTO;
  /* ICMPv6 sockets, raw ones too, never deliver the IP header. */
  int ipv6 = to->family == FTP_IPV6;
  int withIpHeader = !ipv6;
  PingSocket s = pingOpenRaw(to->family, protocol);
  if (s == PING_NO_SOCKET) {
    /* Without the privilege for a raw socket, the system's unprivileged
     * ICMP socket where it allows one. */
    s = pingOpenDatagram(to->family, protocol);
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
      size_t length = PingBuildRequest(request, dataLength, identifier, sequence, pingTicks(),
                                       ipv6 ? ICMP6_ECHO_REQUEST_TYPE : ICMP_ECHO_REQUEST_TYPE);
      if (pingSend(s, to, request, length) != static_cast<long>(length)) {
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
    if (!PingMatchReply(datagram, static_cast<size_t>(got), withIpHeader, identifier, sequence, &tick, &hasTick,
                        ipv6 ? ICMP6_ECHO_REPLY_TYPE : ICMP_ECHO_REPLY_TYPE))
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

long PingAddress(const FtpAddress *address, long requestedLength)
{
  long result = PingOverSocket(address, requestedLength);
  if (result == PING_SOCKET)
    result = pingSystemEcho(address, requestedLength);
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
  /* "[2001:db8::7]" (or with its port, as a login gives it): the address in
   * the brackets; brackets around anything else name no host. */
  if (host[0] == '[') {
    char bare[PING_HOST_MAX + 1];
    unsigned short port;
    int hasPort;
    if (FtpParseHostText(host, bare, sizeof bare, &port, &hasPort) == FTP_HOST_TEXT_MALFORMED)
      return PING_HOST;
    memcpy(host, bare, sizeof host);
  }

  FtpAddress addresses[2];
  if (ftpNetParseNumeric(host, &addresses[0]) == 0)
    return PingAddress(&addresses[0], requestedLength);
  int count = ftpNetResolve(host, addresses, 2);
  if (count == 0)
    return PING_HOST;
  long first = PingAddress(&addresses[0], requestedLength);
  if (first < 0 && count > 1) {
    long second = PingAddress(&addresses[1], requestedLength);
    if (second >= 0)
      return second;
  }
  return first;
}
