/* Win32 body of icmp.h: raw ICMP sockets of Winsock, select, GetTickCount,
 * and the system's echo services, loaded at run time, where no raw socket
 * can be had (it needs administrator rights on NT, and Windows 95/98 has
 * none): ICMP.DLL for IPv4, Icmp6SendEcho2 of IPHLPAPI.DLL for IPv6. IPv6
 * always goes through the latter: an ICMPv6 checksum covers the source
 * address, which the system chooses. */
#include "../icmp.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <ipexport.h>
#include <string.h>

#include "../ping.h"

static SOCKET pingHandle(PingSocket s)
{
  return static_cast<SOCKET>(static_cast<unsigned int>(s));
}

int pingProtocol(int family, int *protocol)
{
  if (family == FTP_IPV6) {
    *protocol = IPPROTO_ICMPV6;   /* no socket is made for it: no entry needed */
    return 0;
  }
  struct protoent *entry = getprotobyname("icmp");
  if (entry == NULL)
    return -1;
  *protocol = entry->p_proto;
  return 0;
}

PingSocket pingOpenRaw(int family, int protocol)
{
  if (family == FTP_IPV6)
    return PING_NO_SOCKET;   /* the system's echo service instead */
  SOCKET s = socket(AF_INET, SOCK_RAW, protocol);
  return s == INVALID_SOCKET ? PING_NO_SOCKET : static_cast<PingSocket>(s);
}

PingSocket pingOpenDatagram(int, int)
{
  return PING_NO_SOCKET;   /* Windows has its echo services instead */
}

int pingIdentifierOf(PingSocket, unsigned char *)
{
  return -1;
}

long pingSend(PingSocket s, const FtpAddress *to, const unsigned char *bytes, size_t length)
{
  struct sockaddr_storage system;
  size_t systemLength = ftpNetSystemAddress(to, &system, sizeof system);
  int sent = sendto(pingHandle(s), reinterpret_cast<const char *>(bytes), static_cast<int>(length), 0,
                    reinterpret_cast<struct sockaddr *>(&system), static_cast<int>(systemLength));
  return sent == SOCKET_ERROR ? -1 : sent;
}

int pingWait(PingSocket s, long milliseconds)
{
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(pingHandle(s), &readable);
  struct timeval limit;
  limit.tv_sec = milliseconds / 1000;
  limit.tv_usec = (milliseconds % 1000) * 1000;
  int n = select(0, &readable, NULL, NULL, &limit);
  if (n == SOCKET_ERROR)
    return -1;
  return n > 0 ? 1 : 0;
}

long pingReceive(PingSocket s, unsigned char *buffer, size_t size)
{
  int got = recv(pingHandle(s), reinterpret_cast<char *>(buffer), static_cast<int>(size), 0);
  return got == SOCKET_ERROR ? -1 : got;
}

void pingClose(PingSocket s)
{
  closesocket(pingHandle(s));
}

unsigned long pingTicks(void)
{
  return GetTickCount();
}

unsigned pingProcessId(void)
{
  return static_cast<unsigned>(GetCurrentProcessId());
}

#define PING_ICMP_TIMEOUT_MS 30000
#define PING_ICMP_ATTEMPTS 3
#define PING_ICMP_REQUEST_SIZE 4096

/* A system library of an echo service, bound on first use and kept for the
 * process: its entries to open a handle, to send one request and wait for
 * its reply, and to close the handle. A library that did not load is tried
 * again on the next call; one that lacks an entry is not. */
struct PingService {
  const char *library;
  const char *entries[3];
  HMODULE module;
  int entryMissing;
  FARPROC entry[3];
};
#define PING_SERVICE_CREATE 0
#define PING_SERVICE_SEND   1
#define PING_SERVICE_CLOSE  2

static PingService pingIcmpDll = {"ICMP.DLL", {"IcmpCreateFile", "IcmpSendEcho", "IcmpCloseHandle"}, NULL, 0, {}};
static PingService pingIcmp6 = {"IPHLPAPI.DLL", {"Icmp6CreateFile", "Icmp6SendEcho2", "IcmpCloseHandle"}, NULL, 0,
                                {}};

typedef HANDLE(WINAPI *IcmpCreateFileEntry)(void);
typedef BOOL(WINAPI *IcmpCloseHandleEntry)(HANDLE);
typedef DWORD(WINAPI *IcmpSendEchoEntry)(HANDLE, IPAddr, LPVOID, WORD, PIP_OPTION_INFORMATION, LPVOID, DWORD,
                                         DWORD);
typedef DWORD(WINAPI *Icmp6SendEcho2Entry)(HANDLE, HANDLE, void *, void *, struct sockaddr_in6 *,
                                           struct sockaddr_in6 *, LPVOID, WORD, PIP_OPTION_INFORMATION, LPVOID,
                                           DWORD, DWORD);

template <typename Entry> static Entry pingEntry(const PingService *service, int which)
{
  return reinterpret_cast<Entry>(reinterpret_cast<void (*)(void)>(service->entry[which]));
}

static int pingBind(PingService *service)
{
  if (service->entryMissing)
    return -1;
  if (service->module == NULL) {
    service->module = LoadLibraryA(service->library);
    if (service->module == NULL)
      return -1;
    for (int i = 0; i < 3; i++)
      if ((service->entry[i] = GetProcAddress(service->module, service->entries[i])) == NULL)
        service->entryMissing = 1;
    if (service->entryMissing)
      return -1;
  }
  return 0;
}

/* The reply buffer: the reply structure, the echoed data, and room for an
 * ICMP error's headers and the I/O status block the IPv6 service asks for. */
static unsigned char pingReply[sizeof(ICMP_ECHO_REPLY) + PING_ICMP_REQUEST_SIZE + 64];

/* ICMP.DLL's IcmpSendEcho: the round-trip time, or -1 without a reply of
 * status 0. */
static long pingSendIcmp(const PingService *service, HANDLE handle, const FtpAddress *to, char *request, WORD length,
                         IP_OPTION_INFORMATION *options)
{
  IPAddr address;
  memcpy(&address, to->ip, 4);
  DWORD replies = pingEntry<IcmpSendEchoEntry>(service, PING_SERVICE_SEND)(
      handle, address, request, length, options, pingReply, sizeof pingReply, PING_ICMP_TIMEOUT_MS);
  const ICMP_ECHO_REPLY *first = reinterpret_cast<const ICMP_ECHO_REPLY *>(pingReply);
  return replies > 0 && first->Status == 0 ? static_cast<long>(first->RoundTripTime) : -1;
}

/* Icmp6SendEcho2's reply: the sender's address (packed, 26 bytes), then the
 * status and the round-trip time. */
#pragma pack(push, 1)
struct PingIcmp6Sender {
  USHORT port;
  ULONG flowInfo;
  USHORT address[8];
  ULONG scope;
};
#pragma pack(pop)
struct PingIcmp6Reply {
  PingIcmp6Sender sender;
  ULONG status;
  unsigned int roundTripTime;
};

static long pingSendIcmp6(const PingService *service, HANDLE handle, const FtpAddress *to, char *request,
                          WORD length, IP_OPTION_INFORMATION *options)
{
  struct sockaddr_in6 source, destination;
  memset(&source, 0, sizeof source);
  source.sin6_family = AF_INET6;   /* any: the system chooses */
  memset(&destination, 0, sizeof destination);
  ftpNetSystemAddress(to, &destination, sizeof destination);
  DWORD replies = pingEntry<Icmp6SendEcho2Entry>(service, PING_SERVICE_SEND)(
      handle, NULL, NULL, NULL, &source, &destination, request, length, options, pingReply, sizeof pingReply,
      PING_ICMP_TIMEOUT_MS);
  PingIcmp6Reply first;
  memcpy(&first, pingReply, sizeof first);
  return replies > 0 && first.status == 0 ? static_cast<long>(first.roundTripTime) : -1;
}

typedef long PingSendOnce(const PingService *, HANDLE, const FtpAddress *, char *, WORD, IP_OPTION_INFORMATION *);

long pingSystemEcho(const FtpAddress *to, long requestedLength)
{
  int ipv6 = to->family == FTP_IPV6;
  PingService *service = ipv6 ? &pingIcmp6 : &pingIcmpDll;
  PingSendOnce *sendOnce = ipv6 ? pingSendIcmp6 : pingSendIcmp;
  if (pingBind(service) != 0)
    return PING_PROTO;
  static char request[PING_ICMP_REQUEST_SIZE];
  for (int i = 0; i < PING_ICMP_REQUEST_SIZE; i++)
    request[i] = static_cast<char>(0x20 + i % (0x7e - 0x20));   /* ' ' to '}', repeating */
  HANDLE handle = pingEntry<IcmpCreateFileEntry>(service, PING_SERVICE_CREATE)();
  if (handle == NULL || handle == INVALID_HANDLE_VALUE)
    return PING_PROTO;
  IP_OPTION_INFORMATION options;
  memset(&options, 0, sizeof options);
  options.Ttl = 64;   /* IPv6: the hop limit */
  /* The same data lengths as the raw socket. */
  WORD length = static_cast<WORD>(PingDataLength(requestedLength));
  long result = PING_REPLY;
  for (int attempt = 0; attempt < PING_ICMP_ATTEMPTS && result == PING_REPLY; attempt++) {
    long time = sendOnce(service, handle, to, request, length, &options);
    if (time >= 0)
      result = time;
  }
  pingEntry<IcmpCloseHandleEntry>(service, PING_SERVICE_CLOSE)(handle);
  return result;
}
