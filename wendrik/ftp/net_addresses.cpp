/* The addresses of net.h, shared by both bodies: the system's socket
 * addresses of both families, IPv6 literals with their zone, and names
 * resolved through getaddrinfo (Windows XP and later, every POSIX system). */
#include "net.h"

#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include "parse.h"

size_t ftpNetSystemAddress(const FtpAddress *address, void *storage, size_t size)
{
  struct sockaddr_storage system;
  memset(&system, 0, sizeof system);
  size_t length;
  if (address->family == FTP_IPV6) {
    struct sockaddr_in6 *sin6 = reinterpret_cast<struct sockaddr_in6 *>(&system);
    sin6->sin6_family = AF_INET6;
    memcpy(&sin6->sin6_addr, address->ip, 16);
    sin6->sin6_port = htons(address->port);
    sin6->sin6_scope_id = static_cast<unsigned>(address->scope);
    length = sizeof *sin6;
  } else {
    struct sockaddr_in *sin = reinterpret_cast<struct sockaddr_in *>(&system);
    sin->sin_family = AF_INET;
    memcpy(&sin->sin_addr, address->ip, 4);
    sin->sin_port = htons(address->port);
    length = sizeof *sin;
  }
  if (size < length)
    return 0;
  memcpy(storage, &system, length);
  return length;
}

int ftpNetFromSystemAddress(const void *system, FtpAddress *address)
{
  const struct sockaddr *from = static_cast<const struct sockaddr *>(system);
  memset(address, 0, sizeof *address);
  if (from->sa_family == AF_INET6) {
    const struct sockaddr_in6 *sin6 = static_cast<const struct sockaddr_in6 *>(system);
    address->family = FTP_IPV6;
    memcpy(address->ip, &sin6->sin6_addr, 16);
    address->port = ntohs(sin6->sin6_port);
    address->scope = sin6->sin6_scope_id;
    return 0;
  }
  if (from->sa_family != AF_INET)
    return -1;
  const struct sockaddr_in *sin = static_cast<const struct sockaddr_in *>(system);
  memcpy(address->ip, &sin->sin_addr, 4);
  address->port = ntohs(sin->sin_port);
  return 0;
}

int ftpNetParseNumeric(const char *text, FtpAddress *address)
{
  if (ftpNetParseDotted(text, address) == 0)
    return 0;
  unsigned char bytes[16];
  const char *zone;
  if (FtpParseIpv6(text, bytes, &zone) != 0)
    return -1;
  unsigned long scope = 0;
  if (zone) {
    /* "fe80::1%3": a zone by its number; "fe80::1%eth0": by its name, where
     * the system names zones. */
    char *end = NULL;
    if (zone[0] >= '0' && zone[0] <= '9')
      scope = strtoul(zone, &end, 10);
    if (end == NULL || *end != '\0')
      scope = ftpNetZoneNamed(zone);
    if (scope == 0)
      return -1;
  }
  memset(address, 0, sizeof *address);
  address->family = FTP_IPV6;
  memcpy(address->ip, bytes, 16);
  address->scope = scope;
  return 0;
}

int ftpNetResolve(const char *name, FtpAddress *list, int max)
{
  /* Both families, without AI_ADDRCONFIG (which would leave out IPv6 where
   * the loopback alone has it); the resolver's order is the order tried. */
  struct addrinfo hints;
  memset(&hints, 0, sizeof hints);
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  struct addrinfo *found = NULL;
  if (getaddrinfo(name, NULL, &hints, &found) != 0)
    return 0;
  int count = 0;
  for (struct addrinfo *entry = found; entry != NULL && count < max; entry = entry->ai_next)
    if (ftpNetFromSystemAddress(entry->ai_addr, &list[count]) == 0)
      list[count++].port = 0;
  freeaddrinfo(found);
  return count;
}
