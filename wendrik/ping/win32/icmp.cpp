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

/* ICMP.DLL, bound on first use and kept for the process. */
typedef HANDLE(WINAPI *IcmpCreateFileEntry)(void);
typedef DWORD(WINAPI *IcmpSendEchoEntry)(HANDLE, IPAddr, LPVOID, WORD, PIP_OPTION_INFORMATION, LPVOID, DWORD,
                                         DWORD);
typedef BOOL(WINAPI *IcmpCloseHandleEntry)(HANDLE);

static HMODULE pingIcmpLibrary;
static int pingIcmpEntryMissing;
static IcmpCreateFileEntry pingIcmpCreateFile;
static IcmpSendEchoEntry pingIcmpSendEcho;
static IcmpCloseHandleEntry pingIcmpCloseHandle;

#define PING_ICMP_TIMEOUT_MS 30000
#define PING_ICMP_ATTEMPTS 3
#define PING_ICMP_REQUEST_SIZE 4096

static int pingBindIcmp(void)
{
  if (pingIcmpEntryMissing)
    return -1;
  if (pingIcmpLibrary == NULL) {
    pingIcmpLibrary = LoadLibraryA("ICMP.DLL");
    if (pingIcmpLibrary == NULL)
      return -1;   /* tried again on the next call */
    pingIcmpCreateFile = reinterpret_cast<IcmpCreateFileEntry>(
        reinterpret_cast<void (*)(void)>(GetProcAddress(pingIcmpLibrary, "IcmpCreateFile")));
    pingIcmpSendEcho = reinterpret_cast<IcmpSendEchoEntry>(
        reinterpret_cast<void (*)(void)>(GetProcAddress(pingIcmpLibrary, "IcmpSendEcho")));
    pingIcmpCloseHandle = reinterpret_cast<IcmpCloseHandleEntry>(
        reinterpret_cast<void (*)(void)>(GetProcAddress(pingIcmpLibrary, "IcmpCloseHandle")));
    if (!pingIcmpCreateFile || !pingIcmpSendEcho || !pingIcmpCloseHandle) {
      pingIcmpEntryMissing = 1;
      return -1;
    }
  }
  return 0;
}

/* The request data of both services: the characters from ' ' to '}',
 * repeating. */
static char *pingServiceRequest(void)
{
  static char request[PING_ICMP_REQUEST_SIZE];
  for (int i = 0; i < PING_ICMP_REQUEST_SIZE; i++)
    request[i] = static_cast<char>(0x20 + i % (0x7e - 0x20));
  return request;
}

static long pingSystemEcho4(const FtpAddress *to, long requestedLength)
{
  if (pingBindIcmp() != 0)
    return PING_PROTO;
  char *request = pingServiceRequest();
  HANDLE handle = pingIcmpCreateFile();
  if (handle == NULL || handle == INVALID_HANDLE_VALUE)
    return PING_PROTO;
  IP_OPTION_INFORMATION options;
  memset(&options, 0, sizeof options);
  options.Ttl = 64;
  /* The same data lengths as the raw socket; the reply buffer holds the
   * reply structure, the echoed data and an ICMP error's headers. */
  WORD length = static_cast<WORD>(PingDataLength(requestedLength));
  static unsigned char reply[sizeof(ICMP_ECHO_REPLY) + PING_ICMP_REQUEST_SIZE + 64];
  IPAddr address;
  memcpy(&address, to->ip, 4);
  long result = PING_REPLY;
  for (int attempt = 0; attempt < PING_ICMP_ATTEMPTS; attempt++) {
    DWORD replies = pingIcmpSendEcho(handle, address, request, length, &options, reply, sizeof reply,
                                     PING_ICMP_TIMEOUT_MS);
    const ICMP_ECHO_REPLY *first = reinterpret_cast<const ICMP_ECHO_REPLY *>(reply);
    if (replies > 0 && first->Status == 0) {
      result = static_cast<long>(first->RoundTripTime);
      break;
    }
  }
  pingIcmpCloseHandle(handle);
  return result;
}

/* IPHLPAPI.DLL's ICMPv6 echo, bound on first use and kept for the process,
 * as ICMP.DLL. */
typedef HANDLE(WINAPI *Icmp6CreateFileEntry)(void);
typedef DWORD(WINAPI *Icmp6SendEcho2Entry)(HANDLE, HANDLE, void *, void *, struct sockaddr_in6 *,
                                           struct sockaddr_in6 *, LPVOID, WORD, PIP_OPTION_INFORMATION, LPVOID,
                                           DWORD, DWORD);

static HMODULE pingIcmp6Library;
static int pingIcmp6EntryMissing;
static Icmp6CreateFileEntry pingIcmp6CreateFile;
static Icmp6SendEcho2Entry pingIcmp6SendEcho2;
static IcmpCloseHandleEntry pingIcmp6CloseHandle;

/* The reply as the system writes it: the sender's address (packed, 26
 * bytes), then the status and the round-trip time. */
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

static int pingBindIcmp6(void)
{
  if (pingIcmp6EntryMissing)
    return -1;
  if (pingIcmp6Library == NULL) {
    pingIcmp6Library = LoadLibraryA("IPHLPAPI.DLL");
    if (pingIcmp6Library == NULL)
      return -1;   /* tried again on the next call */
    pingIcmp6CreateFile = reinterpret_cast<Icmp6CreateFileEntry>(
        reinterpret_cast<void (*)(void)>(GetProcAddress(pingIcmp6Library, "Icmp6CreateFile")));
    pingIcmp6SendEcho2 = reinterpret_cast<Icmp6SendEcho2Entry>(
        reinterpret_cast<void (*)(void)>(GetProcAddress(pingIcmp6Library, "Icmp6SendEcho2")));
    pingIcmp6CloseHandle = reinterpret_cast<IcmpCloseHandleEntry>(
        reinterpret_cast<void (*)(void)>(GetProcAddress(pingIcmp6Library, "IcmpCloseHandle")));
    if (!pingIcmp6CreateFile || !pingIcmp6SendEcho2 || !pingIcmp6CloseHandle) {
      pingIcmp6EntryMissing = 1;
      return -1;
    }
  }
  return 0;
}

static long pingSystemEcho6(const FtpAddress *to, long requestedLength)
{
  if (pingBindIcmp6() != 0)
    return PING_PROTO;
  char *request = pingServiceRequest();
  HANDLE handle = pingIcmp6CreateFile();
  if (handle == NULL || handle == INVALID_HANDLE_VALUE)
    return PING_PROTO;
  IP_OPTION_INFORMATION options;
  memset(&options, 0, sizeof options);
  options.Ttl = 64;   /* the hop limit */
  struct sockaddr_in6 source, destination;
  memset(&source, 0, sizeof source);
  source.sin6_family = AF_INET6;   /* any: the system chooses */
  memset(&destination, 0, sizeof destination);
  ftpNetSystemAddress(to, &destination, sizeof destination);
  WORD length = static_cast<WORD>(PingDataLength(requestedLength));
  /* The reply, the echoed data, 8 bytes more and the I/O status block the
   * system asks room for. */
  static unsigned char reply[sizeof(PingIcmp6Reply) + PING_ICMP_REQUEST_SIZE + 8 + 64];
  long result = PING_REPLY;
  for (int attempt = 0; attempt < PING_ICMP_ATTEMPTS; attempt++) {
    DWORD replies = pingIcmp6SendEcho2(handle, NULL, NULL, NULL, &source, &destination, request, length, &options,
                                       reply, sizeof reply, PING_ICMP_TIMEOUT_MS);
    PingIcmp6Reply first;
    memcpy(&first, reply, sizeof first);
    if (replies > 0 && first.status == 0) {
      result = static_cast<long>(first.roundTripTime);
      break;
    }
  }
  pingIcmp6CloseHandle(handle);
  return result;
}

long pingSystemEcho(const FtpAddress *to, long requestedLength)
{
  return to->family == FTP_IPV6 ? pingSystemEcho6(to, requestedLength) : pingSystemEcho4(to, requestedLength);
}
