/* Win32 body of net.h: Winsock, select for waits. */
#include "../net.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <string.h>

static int ftpNetFail(void)
{
  return -1;
}

static SOCKET ftpNetHandle(FtpSocket s)
{
  return static_cast<SOCKET>(static_cast<unsigned int>(s));
}

void ftpNetStart(void)
{
  WSADATA data;
  WSAStartup(MAKEWORD(1, 1), &data);
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
  unsigned long value = inet_addr(text);
  if (value == INADDR_NONE && strcmp(text, "255.255.255.255") != 0)
    return -1;
  memset(address, 0, sizeof *address);
  memcpy(address->ip, &value, 4);
  return 0;
}

unsigned long ftpNetZoneNamed(const char *)
{
  return 0;   /* Windows names a zone by its number */
}

FtpSocket ftpNetSocket(int family)
{
  SOCKET s = socket(family == FTP_IPV6 ? AF_INET6 : AF_INET, SOCK_STREAM, 0);
  return s == INVALID_SOCKET ? FTP_NO_SOCKET : static_cast<FtpSocket>(s);
}

int ftpNetConnect(FtpSocket s, const FtpAddress *to)
{
  struct sockaddr_storage system;
  int length = static_cast<int>(ftpNetSystemAddress(to, &system, sizeof system));
  return connect(ftpNetHandle(s), reinterpret_cast<struct sockaddr *>(&system), length) == 0 ? 0 : ftpNetFail();
}

int ftpNetBind(FtpSocket s, const FtpAddress *at)
{
  struct sockaddr_storage system;
  int length = static_cast<int>(ftpNetSystemAddress(at, &system, sizeof system));
  return bind(ftpNetHandle(s), reinterpret_cast<struct sockaddr *>(&system), length) == 0 ? 0 : ftpNetFail();
}

int ftpNetListen(FtpSocket s, int backlog)
{
  return listen(ftpNetHandle(s), backlog) == 0 ? 0 : ftpNetFail();
}

int ftpNetLocalAddress(FtpSocket s, FtpAddress *address)
{
  struct sockaddr_storage system;
  int length = sizeof system;
  if (getsockname(ftpNetHandle(s), reinterpret_cast<struct sockaddr *>(&system), &length) != 0)
    return ftpNetFail();
  if (ftpNetFromSystemAddress(&system, address) != 0) {
    WSASetLastError(WSAEAFNOSUPPORT);
    return ftpNetFail();
  }
  return 0;
}

int ftpNetReuseAddress(FtpSocket s)
{
  BOOL on = TRUE;
  return setsockopt(ftpNetHandle(s), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char *>(&on), sizeof on) == 0
             ? 0 : ftpNetFail();
}

int ftpNetOobInline(FtpSocket s)
{
  BOOL on = TRUE;
  return setsockopt(ftpNetHandle(s), SOL_SOCKET, SO_OOBINLINE, reinterpret_cast<const char *>(&on), sizeof on) == 0
             ? 0 : ftpNetFail();
}

FtpSocket ftpNetAccept(FtpSocket listener)
{
  SOCKET s = accept(ftpNetHandle(listener), NULL, NULL);
  return s == INVALID_SOCKET ? FTP_NO_SOCKET : static_cast<FtpSocket>(s);
}

long ftpNetSend(FtpSocket s, const void *bytes, size_t length, int urgent)
{
  int n = send(ftpNetHandle(s), static_cast<const char *>(bytes), static_cast<int>(length), urgent ? MSG_OOB : 0);
  return n == SOCKET_ERROR ? -1 : n;
}

long ftpNetSendWithin(FtpSocket s, const void *bytes, size_t length, long milliseconds)
{
  /* Without waiting in send itself: a peer that stops reading would hold a
   * blocking send for ever. */
  SOCKET handle = ftpNetHandle(s);
  DWORD start = GetTickCount();
  for (;;) {
    long left = milliseconds - static_cast<long>(GetTickCount() - start);
    if (left < 0)
      left = 0;
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(handle, &writable);
    struct timeval limit;
    limit.tv_sec = left / 1000;
    limit.tv_usec = (left % 1000) * 1000;
    int n = select(0, NULL, &writable, NULL, &limit);
    if (n == SOCKET_ERROR)
      return -1;
    if (n == 0)
      return 0;
    u_long on = 1, off = 0;
    ioctlsocket(handle, FIONBIO, &on);
    int sent = send(handle, static_cast<const char *>(bytes), static_cast<int>(length), 0);
    int error = sent == SOCKET_ERROR ? WSAGetLastError() : 0;
    ioctlsocket(handle, FIONBIO, &off);
    if (sent != SOCKET_ERROR)
      return sent;
    WSASetLastError(error);
    if (error != WSAEWOULDBLOCK)
      return -1;
    if (left == 0)
      return 0;
  }
}

long ftpNetReceive(FtpSocket s, void *buffer, size_t size)
{
  int n = recv(ftpNetHandle(s), static_cast<char *>(buffer), static_cast<int>(size), 0);
  return n == SOCKET_ERROR ? -1 : n;
}

long ftpNetReceiveWithin(FtpSocket s, void *buffer, size_t size, long milliseconds)
{
  int ready = ftpNetWaitReadable(s, FTP_NO_SOCKET, milliseconds);
  if (ready < 0)
    return -1;
  if (ready == 0)
    return FTP_NET_TIMED_OUT;
  return ftpNetReceive(s, buffer, size);
}

long ftpNetPeek(FtpSocket s, void *buffer, size_t size)
{
  int n = recv(ftpNetHandle(s), static_cast<char *>(buffer), static_cast<int>(size), MSG_PEEK);
  return n == SOCKET_ERROR ? -1 : n;
}

int ftpNetWaitReadable(FtpSocket a, FtpSocket b, long milliseconds)
{
  fd_set readable;
  FD_ZERO(&readable);
  if (a != FTP_NO_SOCKET)
    FD_SET(ftpNetHandle(a), &readable);
  if (b != FTP_NO_SOCKET)
    FD_SET(ftpNetHandle(b), &readable);
  if (readable.fd_count == 0)
    return -1;
  struct timeval limit;
  limit.tv_sec = milliseconds / 1000;
  limit.tv_usec = (milliseconds % 1000) * 1000;
  int n = select(0, &readable, NULL, NULL, milliseconds < 0 ? NULL : &limit);
  if (n == SOCKET_ERROR)
    return -1;
  return n > 0 ? 1 : 0;
}

unsigned long ftpNetTicks(void)
{
  return GetTickCount();
}

void ftpNetShutdown(FtpSocket s)
{
  shutdown(ftpNetHandle(s), SD_BOTH);
}

void ftpNetClose(FtpSocket s)
{
  closesocket(ftpNetHandle(s));
}

int ftpNetResetOnClose(FtpSocket s)
{
  struct linger none = {1, 0};
  return setsockopt(ftpNetHandle(s), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char *>(&none), sizeof none) == 0
             ? 0 : -1;
}

int ftpNetLastError(void)
{
  return WSAGetLastError();
}
