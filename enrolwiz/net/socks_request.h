// The bytes of the SOCKS version 4 CONNECT that each exchange through a SOCKS
// server sends, and the test of its reply.
#ifndef ENROLWIZ_NET_SOCKS_REQUEST_H
#define ENROLWIZ_NET_SOCKS_REQUEST_H

#include "net/sockets.h"

// The user id, in an 8-byte field padded with zero bytes; its six characters
// and one zero byte go on the wire, one send each.
extern const char socksUserId[8];   // "Pondel"

const unsigned char socksGranted = 0x5A;   // reply code 90: request granted

// 4, 1 (CONNECT), the port most significant byte first, the address bytes as
// the lookup gave them: 04 01 1F 90 7F 00 00 01 for 127.0.0.1 port 8080.
struct SocksRequest {
  unsigned char bytes[8];
};
SocksRequest socksConnectRequest(unsigned short port, const Ipv4Address& address);

// Only the reply code (the second byte) counts; the 0 left there when nothing
// arrived is a failure like any code but 0x5A.
bool socksReplyGranted(const unsigned char reply[8]);

#endif
