/* POSIX body of net.h: BSD sockets, poll for waits, errno mapped to the
 * Winsock numbers that net_errors.cpp names. */
#include "../net.h"

#include <arpa/inet.h>
#include <errno.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <string.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

static int ftpNetError;

static int ftpNetFail(void)
{
  static const struct {
    int posix;
    int winsock;
  } map[] = {
    {EINTR, 10004}, {EBADF, 10009}, {EACCES, 10013}, {EFAULT, 10014}, {EINVAL, 10022},
    {EMFILE, 10024}, {EAGAIN, 10035}, {EINPROGRESS, 10036}, {ENOTSOCK, 10038},
    {EAFNOSUPPORT, 10047}, {EADDRINUSE, 10048}, {EADDRNOTAVAIL, 10049}, {ENETDOWN, 10050},
    {ENETUNREACH, 10051}, {ECONNABORTED, 10053}, {ECONNRESET, 10054}, {EPIPE, 10054},
    {ENOBUFS, 10055}, {EISCONN, 10056}, {ENOTCONN, 10057}, {ESHUTDOWN, 10058},
    {ETIMEDOUT, 10060}, {ECONNREFUSED, 10061}, {EHOSTDOWN, 10064}, {EHOSTUNREACH, 10065},
  };
  int code = -1;
  for (const auto &entry : map)
    if (entry.posix == errno)
      code = entry.winsock;
  ftpNetError = code;
  return -1;
}

void ftpNetStart(void)
{
}

int ftpNetServicePort(const char *service, const char *protocol, unsigned short *port)
{
  struct servent *entry = getservbyname(service, protocol);
  if (entry == NULL)
    return -1;
  *port = ntohs(static_cast<unsigned short>(entry->s_port));
  return 0;
}

int ftpNetParseDotted(const char *text, FtpAddress *address)
{
  struct in_addr in;
  if (inet_aton(text, &in) == 0)
    return -1;
  memset(address, 0, sizeof *address);
  memcpy(address->ip, &in, 4);
  return 0;
}

unsigned long ftpNetZoneNamed(const char *name)
{
  return if_nametoindex(name);
}

FtpSocket ftpNetSocket(int family)
{
  int s = socket(family == FTP_IPV6 ? AF_INET6 : AF_INET, SOCK_STREAM, 0);
  if (s < 0)
    ftpNetFail();
  return s < 0 ? FTP_NO_SOCKET : s;
}

int ftpNetConnect(FtpSocket s, const FtpAddress *to)
{
  struct sockaddr_storage system;
  socklen_t length = static_cast<socklen_t>(ftpNetSystemAddress(to, &system, sizeof system));
  for (;;) {
    if (connect(s, reinterpret_cast<struct sockaddr *>(&system), length) == 0)
      return 0;
    if (errno != EINTR)
      return ftpNetFail();
  }
}

int ftpNetBind(FtpSocket s, const FtpAddress *at)
{
  struct sockaddr_storage system;
  socklen_t length = static_cast<socklen_t>(ftpNetSystemAddress(at, &system, sizeof system));
  return bind(s, reinterpret_cast<struct sockaddr *>(&system), length) == 0 ? 0 : ftpNetFail();
}

int ftpNetListen(FtpSocket s, int backlog)
{
  return listen(s, backlog) == 0 ? 0 : ftpNetFail();
}

int ftpNetLocalAddress(FtpSocket s, FtpAddress *address)
{
  struct sockaddr_storage system;
  socklen_t length = sizeof system;
  if (getsockname(s, reinterpret_cast<struct sockaddr *>(&system), &length) != 0)
    return ftpNetFail();
  if (ftpNetFromSystemAddress(&system, address) != 0) {
    errno = EAFNOSUPPORT;
    return ftpNetFail();
  }
  return 0;
}

int ftpNetReuseAddress(FtpSocket s)
{
  int on = 1;
  return setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0 ? 0 : ftpNetFail();
}

int ftpNetOobInline(FtpSocket s)
{
  int on = 1;
  return setsockopt(s, SOL_SOCKET, SO_OOBINLINE, &on, sizeof on) == 0 ? 0 : ftpNetFail();
}

FtpSocket ftpNetAccept(FtpSocket listener)
{
  for (;;) {
    int s = accept(listener, NULL, NULL);
    if (s >= 0)
      return s;
    if (errno != EINTR) {
      ftpNetFail();
      return FTP_NO_SOCKET;
    }
  }
}

long ftpNetSend(FtpSocket s, const void *bytes, size_t length, int urgent)
{
  /* MSG_NOSIGNAL: a peer that went away is a failed send, as on Windows, not SIGPIPE. */
  for (;;) {
    ssize_t n = send(s, bytes, length, MSG_NOSIGNAL | (urgent ? MSG_OOB : 0));
    if (n >= 0)
      return static_cast<long>(n);
    if (errno != EINTR)
      return ftpNetFail();
  }
}

static long ftpNetNowMs(void)
{
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

unsigned long ftpNetTicks(void)
{
  return static_cast<unsigned long>(ftpNetNowMs());
}

/* After a call that would have blocked: waits until the socket is ready for
 * events or end passes. 1: try again; 0: the time is over; -1: failed (the
 * failure taken). EINTR counts as "try again". */
static int ftpNetWaitReady(FtpSocket s, short events, long end)
{
  if (errno == EINTR)
    return 1;
  if (errno != EAGAIN && errno != EWOULDBLOCK)
    return ftpNetFail();
  long left = end - ftpNetNowMs();
  if (left <= 0)
    return 0;
  struct pollfd fd = {s, events, 0};
  if (poll(&fd, 1, static_cast<int>(left)) < 0 && errno != EINTR)
    return ftpNetFail();
  return 1;
}

long ftpNetSendWithin(FtpSocket s, const void *bytes, size_t length, long milliseconds)
{
  /* Never waiting in send itself, where a peer that stops reading would hold
   * it for ever; a wait only when the socket takes nothing now (a send that
   * goes at once costs no wait: transfers stay as fast). */
  long end = ftpNetNowMs() + milliseconds;
  for (;;) {
    ssize_t sent = send(s, bytes, length, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent >= 0)
      return static_cast<long>(sent);
    int ready = ftpNetWaitReady(s, POLLOUT, end);
    if (ready <= 0)
      return ready;
  }
}

long ftpNetReceiveWithin(FtpSocket s, void *buffer, size_t size, long milliseconds)
{
  long end = ftpNetNowMs() + milliseconds;
  for (;;) {
    ssize_t n = recv(s, buffer, size, MSG_DONTWAIT);
    if (n >= 0)
      return static_cast<long>(n);
    int ready = ftpNetWaitReady(s, POLLIN, end);
    if (ready < 0)
      return ready;
    if (ready == 0)
      return FTP_NET_TIMED_OUT;
  }
}

long ftpNetReceive(FtpSocket s, void *buffer, size_t size)
{
  for (;;) {
    ssize_t n = recv(s, buffer, size, 0);
    if (n >= 0)
      return static_cast<long>(n);
    if (errno != EINTR)
      return ftpNetFail();
  }
}

long ftpNetPeek(FtpSocket s, void *buffer, size_t size)
{
  for (;;) {
    ssize_t n = recv(s, buffer, size, MSG_PEEK);
    if (n >= 0)
      return static_cast<long>(n);
    if (errno != EINTR)
      return ftpNetFail();
  }
}

int ftpNetWaitReadable(FtpSocket a, FtpSocket b, long milliseconds)
{
  /* poll, not select: descriptors above FD_SETSIZE must not overrun an fd_set. */
  struct pollfd fds[2];
  int count = 0;
  if (a != FTP_NO_SOCKET)
    fds[count++] = {a, POLLIN, 0};
  if (b != FTP_NO_SOCKET)
    fds[count++] = {b, POLLIN, 0};
  if (count == 0)
    return -1;
  int n = poll(fds, static_cast<nfds_t>(count), milliseconds < 0 ? -1 : static_cast<int>(milliseconds));
  if (n < 0)
    return ftpNetFail();
  for (int i = 0; i < count; i++)
    if (fds[i].revents & POLLNVAL)
      return -1;
  return n > 0 ? 1 : 0;
}

void ftpNetShutdown(FtpSocket s)
{
  shutdown(s, SHUT_RDWR);
}

void ftpNetClose(FtpSocket s)
{
  close(s);
}

int ftpNetResetOnClose(FtpSocket s)
{
  struct linger none = {1, 0};
  return setsockopt(s, SOL_SOCKET, SO_LINGER, &none, sizeof none) == 0 ? 0 : -1;
}

int ftpNetLastError(void)
{
  return ftpNetError;
}
