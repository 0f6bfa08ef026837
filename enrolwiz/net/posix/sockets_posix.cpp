// POSIX body of the sockets port: BSD sockets behaving as Winsock 1.1 does for
// the submission. Failures carry the Winsock error codes, and a call that
// succeeds clears the last one, as Wine's Winsock does; WSAStartup and
// WSACleanup are counted, so that calls before the start fail as not
// initialised and the last cleanup closes the sockets left open, as the
// failure paths of the submission rely on.
#include "net/sockets.h"

#include <arpa/inet.h>
#include <errno.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <set>

namespace {

int lastError = 0;
int startups = 0;

std::set<int>& openSockets()
{
  static std::set<int> sockets;
  return sockets;
}

int winsockCode(int errorNumber)
{
  static const struct {
    int posix;
    int winsock;
  } map[] = {
      {EINTR, wsaInterrupted},
      {EBADF, wsaNotSocket},   // closed or never opened: Winsock's "not a socket"
      {EACCES, wsaAccessDenied},
      {EPERM, wsaAccessDenied},
      {EFAULT, wsaFault},
      {EINVAL, wsaInvalid},
      {EMFILE, wsaTooManySockets},
      {ENFILE, wsaTooManySockets},
      {EAGAIN, wsaWouldBlock},
      {EINPROGRESS, wsaInProgress},
      {EALREADY, wsaAlready},
      {ENOTSOCK, wsaNotSocket},
      {EDESTADDRREQ, 10039},
      {EMSGSIZE, 10040},
      {EPROTOTYPE, wsaProtocolType},
      {ENOPROTOOPT, 10042},
      {EPROTONOSUPPORT, wsaProtocolNotSupported},
      {ESOCKTNOSUPPORT, wsaSocketTypeNotSupported},
      {EOPNOTSUPP, 10045},
      {EPFNOSUPPORT, 10046},
      {EAFNOSUPPORT, wsaAddressFamilyNotSupported},
      {EADDRINUSE, wsaAddressInUse},
      {EADDRNOTAVAIL, wsaAddressNotAvailable},
      {ENETDOWN, wsaNetworkDown},
      {ENETUNREACH, wsaNetworkUnreachable},
      {ENETRESET, 10052},
      {ECONNABORTED, wsaConnectionAborted},
      {ECONNRESET, wsaConnectionReset},
      {EPIPE, wsaConnectionReset},
      {ENOBUFS, wsaNoBuffers},
      {ENOMEM, wsaNoBuffers},
      {EISCONN, wsaAlreadyConnected},
      {ENOTCONN, wsaNotConnected},
      {ESHUTDOWN, 10058},
      {ETOOMANYREFS, 10059},
      {ETIMEDOUT, wsaTimedOut},
      {ECONNREFUSED, wsaConnectionRefused},
      {ELOOP, 10062},
      {ENAMETOOLONG, 10063},
      {EHOSTDOWN, 10064},
      {EHOSTUNREACH, wsaHostUnreachable},
  };
  for (const auto& entry : map)
    if (entry.posix == errorNumber)
      return entry.winsock;
  return wsaSystemCallFailure;
}

int fail()
{
  lastError = winsockCode(errno);
  return -1;
}

int succeed(int result)
{
  lastError = 0;
  return result;
}

bool started()
{
  if (startups > 0)
    return true;
  lastError = wsaNotInitialised;
  return false;
}

}  // namespace

int systemSocketStartup()
{
  ++startups;
  return 0;
}

int systemSocketCleanup()
{
  if (!started())
    return -1;
  if (--startups == 0) {
    for (int s : openSockets())
      close(s);
    openSockets().clear();
  }
  return 0;
}

SocketHandle openStreamSocket()
{
  if (!started())
    return invalidSocket;
  int s = socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) {
    fail();
    return invalidSocket;
  }
  openSockets().insert(s);
  succeed(0);
  return static_cast<SocketHandle>(s);
}

int connectSocket(SocketHandle s, const SocketAddress& to)
{
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  address.sin_port = htons(to.port);
  std::memcpy(&address.sin_addr, to.address.bytes, 4);
  if (connect(static_cast<int>(s), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
    return fail();
  return succeed(0);
}

int sendBytes(SocketHandle s, const void* bytes, int length)
{
  if (length < 0) {
    lastError = wsaInvalid;
    return -1;
  }
  ssize_t sent;
  do
    sent = send(static_cast<int>(s), bytes, static_cast<size_t>(length), MSG_NOSIGNAL);
  while (sent < 0 && errno == EINTR);
  return sent < 0 ? fail() : succeed(static_cast<int>(sent));
}

int receiveBytes(SocketHandle s, void* buffer, int size)
{
  if (size < 0) {
    lastError = wsaInvalid;
    return -1;
  }
  ssize_t received;
  do
    received = recv(static_cast<int>(s), buffer, static_cast<size_t>(size), 0);
  while (received < 0 && errno == EINTR);
  return received < 0 ? fail() : succeed(static_cast<int>(received));
}

int waitReadable(SocketHandle s, long seconds)
{
  if (seconds < 0) {
    lastError = wsaInvalid;
    return -1;
  }
  // poll, not select: a descriptor above FD_SETSIZE must not overrun an fd_set.
  // Long limits are waited for in slices that poll's int milliseconds hold.
  long long remaining = static_cast<long long>(seconds) * 1000;
  for (;;) {
    int slice = remaining > INT_MAX ? INT_MAX : static_cast<int>(remaining);
    pollfd entry{static_cast<int>(s), POLLIN, 0};
    int ready = poll(&entry, 1, slice);
    if (ready < 0 && errno == EINTR)
      continue;
    if (ready < 0)
      return fail();
    if (ready > 0) {
      if (entry.revents & POLLNVAL) {
        lastError = wsaNotSocket;
        return -1;
      }
      return succeed(1);
    }
    remaining -= slice;
    if (remaining <= 0)
      return succeed(0);
  }
}

int closeSocket(SocketHandle s)
{
  int handle = static_cast<int>(s);
  if (openSockets().erase(handle) == 0) {
    lastError = wsaNotSocket;
    return -1;
  }
  return close(handle) == 0 ? succeed(0) : fail();
}

const HostEntry* systemGetHostByName(const char* name)
{
  if (!started())
    return nullptr;
  hostent* host = gethostbyname(name);
  if (!host) {
    switch (h_errno) {
    case HOST_NOT_FOUND:
      lastError = wsaHostNotFound;
      break;
    case TRY_AGAIN:
      lastError = wsaTryAgain;
      break;
    case NO_DATA:
      lastError = wsaNoData;
      break;
    case NETDB_INTERNAL:
      lastError = errno != 0 ? winsockCode(errno) : wsaNoRecovery;
      break;
    default:
      lastError = wsaNoRecovery;
      break;
    }
    return nullptr;
  }
  if (host->h_addrtype != AF_INET || host->h_length != 4 || !host->h_addr_list[0]) {
    lastError = wsaNoData;
    return nullptr;
  }
  static HostEntry entry;
  std::memcpy(entry.firstAddress.bytes, host->h_addr_list[0], 4);
  succeed(0);
  return &entry;
}

bool inetAddr(const char* text, Ipv4Address& address)
{
  in_addr_t value = inet_addr(text);
  if (value == INADDR_NONE)
    return false;
  std::memcpy(address.bytes, &value, 4);
  return true;
}

int lastSocketError()
{
  return lastError;
}

void setLastSocketError(int code)
{
  lastError = code;
}
