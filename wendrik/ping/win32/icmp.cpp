/* Win32 body of icmp.h: raw ICMP sockets of Winsock, select, GetTickCount,
 * and the system's ICMP.DLL, loaded at run time, where no raw socket can be
 * had (it needs administrator rights on NT, and Windows 95/98 has none). */
#include "../icmp.h"

#include <winsock2.h>
#include <windows.h>
#include <ipexport.h>
#include <string.h>

#include "../ping.h"

static SOCKET pingHandle(PingSocket s)
{
  return static_cast<SOCKET>(static_cast<unsigned int>(s));
}

int pingProtocol(int *protocol)
{
  struct protoent *entry = getprotobyname("icmp");
  if (entry == NULL)
    return -1;
  *protocol = entry->p_proto;
  return 0;
}

PingSocket pingOpenRaw(int protocol)
{
  SOCKET s = socket(AF_INET, SOCK_RAW, protocol);
  return s == INVALID_SOCKET ? PING_NO_SOCKET : static_cast<PingSocket>(s);
}

PingSocket pingOpenDatagram(int)
{
  return PING_NO_SOCKET;   /* Windows has ICMP.DLL instead */
}

int pingIdentifierOf(PingSocket, unsigned char *)
{
  return -1;
}

long pingSend(PingSocket s, const unsigned char ip[4], const unsigned char *bytes, size_t length)
{
  struct sockaddr_in to;
  memset(&to, 0, sizeof to);
  to.sin_family = AF_INET;
  memcpy(&to.sin_addr, ip, 4);
  int sent = sendto(pingHandle(s), reinterpret_cast<const char *>(bytes), static_cast<int>(length), 0,
                    reinterpret_cast<struct sockaddr *>(&to), sizeof to);
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

long pingSystemEcho(const unsigned char ip[4], long requestedLength)
{
  if (pingBindIcmp() != 0)
    return PING_PROTO;
  static char request[PING_ICMP_REQUEST_SIZE];
  for (int i = 0; i < PING_ICMP_REQUEST_SIZE; i++)
    request[i] = static_cast<char>(0x20 + i % (0x7e - 0x20));   /* ' ' to '}', repeating */
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
  memcpy(&address, ip, 4);
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
