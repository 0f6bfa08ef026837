/* POSIX body of icmp.h: raw ICMP and ICMPv6 sockets (root), the unprivileged
 * ICMP datagram sockets that Linux offers to the groups of
 * net.ipv4.ping_group_range (for both families), poll, a monotonic clock. */
#include "../icmp.h"

#include <errno.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <string.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include "../ping.h"

int pingProtocol(int family, int *protocol)
{
  struct protoent *entry = getprotobyname(family == FTP_IPV6 ? "ipv6-icmp" : "icmp");
  if (entry == NULL)
    return -1;
  *protocol = entry->p_proto;
  return 0;
}

PingSocket pingOpenRaw(int family, int protocol)
{
  int s = socket(family == FTP_IPV6 ? AF_INET6 : AF_INET, SOCK_RAW, protocol);
  return s < 0 ? PING_NO_SOCKET : s;
}

PingSocket pingOpenDatagram(int family, int protocol)
{
  int s = socket(family == FTP_IPV6 ? AF_INET6 : AF_INET, SOCK_DGRAM, protocol);
  return s < 0 ? PING_NO_SOCKET : s;
}

int pingIdentifierOf(PingSocket s, unsigned char field[2])
{
  /* The socket's "port" is the identifier, sent in network byte order. */
  struct sockaddr_storage local;
  socklen_t length = sizeof local;
  if (getsockname(s, reinterpret_cast<struct sockaddr *>(&local), &length) != 0)
    return -1;
  in_port_t port;
  if (local.ss_family == AF_INET6)
    port = reinterpret_cast<struct sockaddr_in6 *>(&local)->sin6_port;
  else
    port = reinterpret_cast<struct sockaddr_in *>(&local)->sin_port;
  if (port == 0)
    return -1;
  memcpy(field, &port, 2);
  return 0;
}

long pingSend(PingSocket s, const FtpAddress *to, const unsigned char *bytes, size_t length)
{
  struct sockaddr_storage system;
  size_t systemLength = ftpNetSystemAddress(to, &system, sizeof system);
  for (;;) {
    ssize_t sent = sendto(s, bytes, length, 0, reinterpret_cast<struct sockaddr *>(&system),
                          static_cast<socklen_t>(systemLength));
    if (sent >= 0 || errno != EINTR)
      return static_cast<long>(sent);
  }
}

int pingWait(PingSocket s, long milliseconds)
{
  struct pollfd fd = {s, POLLIN, 0};
  int n = poll(&fd, 1, static_cast<int>(milliseconds));
  if (n < 0)
    return errno == EINTR ? 0 : -1;
  return n > 0 ? 1 : 0;
}

long pingReceive(PingSocket s, unsigned char *buffer, size_t size)
{
  return static_cast<long>(recv(s, buffer, size, 0));
}

void pingClose(PingSocket s)
{
  close(s);
}

unsigned long pingTicks(void)
{
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  unsigned long long ms = static_cast<unsigned long long>(now.tv_sec) * 1000ULL +
                          static_cast<unsigned long long>(now.tv_nsec) / 1000000ULL;
  return static_cast<unsigned long>(ms & 0xffffffffULL);
}

unsigned pingProcessId(void)
{
  return static_cast<unsigned>(getpid());
}

long pingSystemEcho(const FtpAddress *, long)
{
  return PING_SOCKET;   /* no such service here: the datagram socket is the fall-back */
}
