// Sockets port of the network submission: the Winsock 1.1 calls it makes
// (WSAStartup, WSACleanup, socket, connect, send, recv, select on one socket,
// closesocket, gethostbyname, inet_addr, WSAGetLastError), in its own words.
// The Win32 body is Winsock itself (WSOCK32); the POSIX body is BSD sockets
// whose failures carry the Winsock error codes, so that the failure texts and
// diagnostic lines are the same on both platforms.
#ifndef ENROLWIZ_NET_SOCKETS_H
#define ENROLWIZ_NET_SOCKETS_H

#include <cstdint>

typedef std::uintptr_t SocketHandle;
const SocketHandle invalidSocket = ~static_cast<SocketHandle>(0);   // INVALID_SOCKET

// An IPv4 address, its bytes in network order (as in_addr holds them).
struct Ipv4Address {
  unsigned char bytes[4];
};

// What connect is given: family AF_INET, the port and the address.
struct SocketAddress {
  unsigned short port;   // host order; the bodies put it in network order
  Ipv4Address address;
};

// What gethostbyname found: its first address (the only one the submission uses).
struct HostEntry {
  Ipv4Address firstAddress;
};

// The Winsock error codes the submission names (WSAEINTR ... WSANO_DATA).
enum WinsockError : int {
  wsaInterrupted = 10004,
  wsaAccessDenied = 10013,
  wsaFault = 10014,
  wsaInvalid = 10022,
  wsaTooManySockets = 10024,
  wsaWouldBlock = 10035,
  wsaInProgress = 10036,
  wsaAlready = 10037,
  wsaNotSocket = 10038,
  wsaProtocolType = 10041,
  wsaProtocolNotSupported = 10043,
  wsaSocketTypeNotSupported = 10044,
  wsaAddressFamilyNotSupported = 10047,
  wsaAddressInUse = 10048,
  wsaAddressNotAvailable = 10049,
  wsaNetworkDown = 10050,
  wsaNetworkUnreachable = 10051,
  wsaConnectionAborted = 10053,
  wsaConnectionReset = 10054,
  wsaNoBuffers = 10055,
  wsaAlreadyConnected = 10056,
  wsaNotConnected = 10057,
  wsaTimedOut = 10060,
  wsaConnectionRefused = 10061,
  wsaHostUnreachable = 10065,
  wsaProcessLimit = 10067,
  wsaSystemNotReady = 10091,
  wsaVersionNotSupported = 10092,
  wsaNotInitialised = 10093,
  wsaSystemCallFailure = 10107,   // what a POSIX failure without a Winsock counterpart gives
  wsaHostNotFound = 11001,
  wsaTryAgain = 11002,
  wsaNoRecovery = 11003,
  wsaNoData = 11004,
};

// WSAStartup asking for version 1.1: 0, or the error code it returns.
int socketStartup();
// WSACleanup: 0 or -1. The last cleanup closes every socket still open.
int socketCleanup();
// Successful start-ups not yet matched by a successful cleanup. Every path of
// a submission must leave it as it found it; the tests check that.
int socketStartupsOpen();

// socket(AF_INET, SOCK_STREAM, 0), or invalidSocket.
SocketHandle openStreamSocket();
// connect to the address (16 bytes of sockaddr_in): 0 or -1.
int connectSocket(SocketHandle s, const SocketAddress& to);
// One send call: the bytes sent, or -1. A peer that went away is a failed
// send, never a signal.
int sendBytes(SocketHandle s, const void* bytes, int length);
// One recv call: the bytes received, 0 when the peer closed, -1 on failure.
int receiveBytes(SocketHandle s, void* buffer, int size);
// select with a read set that holds s only and a time limit of seconds and
// 0 microseconds: 1 readable, 0 timed out, -1 failed (a negative time limit
// fails with WSAEINVAL, as select does).
int waitReadable(SocketHandle s, long seconds);
// closesocket: 0 or -1.
int closeSocket(SocketHandle s);

// gethostbyname: the entry, valid until the next lookup, or null (the error
// code then tells why). Names go to the test lookup below first, when one is set.
const HostEntry* getHostByName(const char* name);
// inet_addr: false when it gives INADDR_NONE (which 255.255.255.255 also spells).
bool inetAddr(const char* text, Ipv4Address& address);

// WSAGetLastError and WSASetLastError.
int lastSocketError();
void setLastSocketError(int code);

// Tests only: a stand-in for the resolver, so that name lookup failures can be
// provoked without leaving loopback. The hook answers true when it decides a
// name (found, or not with the Winsock code), false to leave it to the system.
struct NameLookupAnswer {
  bool found;
  Ipv4Address address;
  int error;
};
typedef bool (*NameLookupHook)(const char* name, NameLookupAnswer& answer);
void setNameLookupHook(NameLookupHook hook);

// The system's own gethostbyname, WSAStartup and WSACleanup (each body);
// getHostByName asks the hook first, and the other two are counted.
const HostEntry* systemGetHostByName(const char* name);
int systemSocketStartup();
int systemSocketCleanup();

#endif
