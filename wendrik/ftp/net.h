/* Sockets as the FTP engine needs them: one body per platform (win32/net.cpp,
 * posix/net.cpp). Handles are ints, FTP_NO_SOCKET for none; failures are kept
 * as Winsock error numbers on both platforms, so their texts are the same. */
#ifndef WENDRIK_FTP_NET_H
#define WENDRIK_FTP_NET_H

#include <stddef.h>

typedef int FtpSocket;
#define FTP_NO_SOCKET (-1)

/* An address of either family and a port, the port in host byte order. One
 * that is all zero is IPv4's 0.0.0.0, port 0. */
#define FTP_IPV4 0
#define FTP_IPV6 1
struct FtpAddress {
  unsigned char ip[16];    /* FTP_IPV4: the first 4 bytes; FTP_IPV6: all 16 */
  unsigned short port;
  int family;
  unsigned long scope;     /* FTP_IPV6: the zone of a link-local address; 0 none */
};

/* Starts the socket library (Winsock 1.1); the result is not examined. */
void ftpNetStart(void);
/* The port of a service ("ftp", "tcp"); 0 when known, -1 when not. */
int ftpNetServicePort(const char *service, const char *protocol, unsigned short *port);
/* A dotted IPv4 text; 0 when it is one, -1 otherwise. */
int ftpNetParseDotted(const char *text, FtpAddress *address);
/* A host given as an address: a dotted IPv4 text (as ftpNetParseDotted), or
 * an IPv6 literal ("2001:db8::7"), perhaps with its zone ("fe80::1%eth0",
 * "fe80::1%3"). 0 when it is one, -1 otherwise. */
int ftpNetParseNumeric(const char *text, FtpAddress *address);
/* Resolves a host name to addresses of both families, in the order the
 * resolver gives them; the number written (at most max), 0 when unknown. */
int ftpNetResolve(const char *name, FtpAddress *list, int max);

/* The system's socket address of an address (a sockaddr_in or sockaddr_in6,
 * port and zone included) written into storage: its length, 0 when size is
 * too small. The reverse: 0, or -1 for a socket address of another family.
 * (net_addresses.cpp, shared by both bodies, as the three above.) */
size_t ftpNetSystemAddress(const FtpAddress *address, void *storage, size_t size);
int ftpNetFromSystemAddress(const void *system, FtpAddress *address);
/* The zone (interface) of a name, as the system numbers it; 0 when there is
 * none of that name or the system names none (Windows: zones are numbers). */
unsigned long ftpNetZoneNamed(const char *name);

/* A stream socket of the family (FTP_IPV4, FTP_IPV6), or FTP_NO_SOCKET. */
FtpSocket ftpNetSocket(int family);
/* The rest answer 0 on success and -1 on failure (ftpNetLastError tells why). */
int ftpNetConnect(FtpSocket s, const FtpAddress *to);
int ftpNetBind(FtpSocket s, const FtpAddress *at);
int ftpNetListen(FtpSocket s, int backlog);
int ftpNetLocalAddress(FtpSocket s, FtpAddress *address);
int ftpNetReuseAddress(FtpSocket s);
int ftpNetOobInline(FtpSocket s);
FtpSocket ftpNetAccept(FtpSocket listener);
/* One send call (urgent: as out-of-band data); never raises a signal.
 * The number of bytes sent, or -1. */
long ftpNetSend(FtpSocket s, const void *bytes, size_t length, int urgent);
/* Sends what the socket takes of bytes once it can take some, waiting at most
 * milliseconds for that: the number of bytes sent, 0 when the time ran out,
 * -1 on failure. */
long ftpNetSendWithin(FtpSocket s, const void *bytes, size_t length, long milliseconds);
/* One receive call: the bytes received, 0 at the end, -1 on failure. */
long ftpNetReceive(FtpSocket s, void *buffer, size_t size);
/* As ftpNetReceive once something has come, waiting at most milliseconds for
 * that: FTP_NET_TIMED_OUT when nothing came in time. */
#define FTP_NET_TIMED_OUT (-2)
long ftpNetReceiveWithin(FtpSocket s, void *buffer, size_t size, long milliseconds);
/* As ftpNetReceive, but the bytes stay in the socket for the next receive. */
long ftpNetPeek(FtpSocket s, void *buffer, size_t size);
/* Waits until a or b (either may be FTP_NO_SOCKET) is readable: 1 readable,
 * 0 timed out, -1 wait failed. milliseconds < 0 waits without limit. */
int ftpNetWaitReadable(FtpSocket a, FtpSocket b, long milliseconds);
/* A millisecond count that only goes forward (it may wrap: compare
 * differences), for the bounds of waits made of several waits. */
unsigned long ftpNetTicks(void);
void ftpNetShutdown(FtpSocket s);
void ftpNetClose(FtpSocket s);
/* Closing s then resets the connection (no linger): the peer sees no
 * orderly end. 0, or -1. */
int ftpNetResetOnClose(FtpSocket s);

/* The Winsock number of the last failure, and its text. */
#define FTP_NET_NO_FAMILY 10047   /* WSAEAFNOSUPPORT: no sockets of that family here */
int ftpNetLastError(void);
const char *ftpNetErrorText(int code);

#endif
