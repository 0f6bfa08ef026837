// The SOCKS 4 CONNECT request and its reply code.
#include "net/socks_request.h"

const char socksUserId[8] = "Pondel";

SocksRequest socksConnectRequest(unsigned short port, const Ipv4Address& address)
{
  SocksRequest request{{4, 1, static_cast<unsigned char>(port >> 8), static_cast<unsigned char>(port & 0xFF),
                        address.bytes[0], address.bytes[1], address.bytes[2], address.bytes[3]}};
  return request;
}

bool socksReplyGranted(const unsigned char reply[8])
{
  return reply[1] == socksGranted;
}
