// Win32 body of the sockets port: Winsock 1.1 (WSOCK32) itself.
#include <winsock.h>

#include <cstring>

#include "net/sockets.h"

int systemSocketStartup()
{
  WSADATA data;
  return WSAStartup(MAKEWORD(1, 1), &data);
}

int systemSocketCleanup()
{
  return WSACleanup();
}

SocketHandle openStreamSocket()
{
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  return s == INVALID_SOCKET ? invalidSocket : static_cast<SocketHandle>(s);
}

int connectSocket(SocketHandle s, const SocketAddress& to)
{
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  address.sin_port = htons(to.port);
  std::memcpy(&address.sin_addr, to.address.bytes, 4);
  return connect(static_cast<SOCKET>(s), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ? 0
                                                                                                           : -1;
}

int sendBytes(SocketHandle s, const void* bytes, int length)
{
  return send(static_cast<SOCKET>(s), static_cast<const char*>(bytes), length, 0);
}

int receiveBytes(SocketHandle s, void* buffer, int size)
{
  return recv(static_cast<SOCKET>(s), static_cast<char*>(buffer), size, 0);
}

int waitReadable(SocketHandle s, long seconds)
{
  // Windows refuses a negative time limit with WSAEINVAL; Wine's select
  // would end at once as if timed out.
  if (seconds < 0) {
    WSASetLastError(WSAEINVAL);
    return -1;
  }
  fd_set readSet;
  FD_ZERO(&readSet);
  FD_SET(static_cast<SOCKET>(s), &readSet);
  timeval limit;
  limit.tv_sec = seconds;
  limit.tv_usec = 0;
  return select(0, &readSet, nullptr, nullptr, &limit);
}

int closeSocket(SocketHandle s)
{
  return closesocket(static_cast<SOCKET>(s));
}

const HostEntry* systemGetHostByName(const char* name)
{
  hostent* host = gethostbyname(name);
  if (!host)
    return nullptr;
  if (host->h_addrtype != AF_INET || host->h_length != 4 || !host->h_addr_list[0]) {
    WSASetLastError(WSANO_DATA);
    return nullptr;
  }
  static HostEntry entry;
  std::memcpy(entry.firstAddress.bytes, host->h_addr_list[0], 4);
  return &entry;
}

bool inetAddr(const char* text, Ipv4Address& address)
{
  unsigned long value = inet_addr(text);
  if (value == INADDR_NONE)
    return false;
  std::memcpy(address.bytes, &value, 4);
  return true;
}

int lastSocketError()
{
  return WSAGetLastError();
}

void setLastSocketError(int code)
{
  WSASetLastError(code);
}
