/* ICMP echo for FtpPing, over IPv4 (ICMP) and IPv6 (ICMPv6): the request and
 * reply over bytes (packet.cpp) and the round-trip measurement over the
 * platform's ICMP sockets (ping.cpp). */
#ifndef WENDRIK_PING_PING_H
#define WENDRIK_PING_PING_H

#include <stddef.h>

#include "ftp/net.h"

/* Results: 0 or more is the round-trip time in milliseconds. */
#define PING_REPLY   (-1)   /* no matching reply within the budget */
#define PING_SOCKET  (-3)   /* no ICMP socket */
#define PING_PROTO   (-4)   /* no "icmp" protocol entry, or the system's ICMP library unusable */
#define PING_SEND    (-5)   /* the request did not go out whole */
#define PING_RECV    (-6)   /* waiting or receiving failed */
#define PING_HOST    (-7)   /* the host name does not resolve */

#define PING_HEADER_SIZE   8
#define PING_DATA_DEFAULT  56
#define PING_DATA_MAX      4088
#define PING_REQUEST_MAX   (PING_HEADER_SIZE + PING_DATA_MAX)
/* The largest reply whole: an IP header with options (60 bytes) and the
 * largest request. Windows fails the receive of a datagram that does not fit. */
#define PING_IP_HEADER_MAX 60
#define PING_RECEIVE_SIZE  (PING_IP_HEADER_MAX + PING_REQUEST_MAX)
#define PING_BUDGET_MS     3000L
#define PING_HOST_MAX      255

#define ICMP_ECHO_REPLY_TYPE   0
#define ICMP_ECHO_REQUEST_TYPE 8
/* ICMPv6 (RFC 4443): the same echo with other types; the system computes its
 * checksum, which covers the addresses too. */
#define ICMP6_ECHO_REQUEST_TYPE 128
#define ICMP6_ECHO_REPLY_TYPE   129

/* --- packet.cpp --- */

/* The data length sent for a requested length: 1 to 4088 as asked, more
 * than that 4088, 0 or less 56. */
int PingDataLength(long requested);
/* The Internet checksum (RFC 1071) of bytes, as the value to store in
 * network byte order. */
unsigned short PingChecksum(const unsigned char *bytes, size_t length);
/* The identifier field of a request: the low 16 bits of the process id in
 * the host's byte order. */
void PingIdentifierField(unsigned processId, unsigned char field[2]);
/* Writes an echo request into buffer (PING_REQUEST_MAX bytes): type 8, code 0,
 * checksum, the identifier field, the sequence in network byte order, the
 * tick count in the host's byte order, then data bytes that hold their offset
 * minus 4. Returns its length, dataLength + 8 (with fewer than 4 data bytes
 * the tick count goes only in part). With type ICMP6_ECHO_REQUEST_TYPE the
 * same request of ICMPv6, its checksum 0 for the system to fill in. */
size_t PingBuildRequest(unsigned char *buffer, int dataLength, const unsigned char identifier[2],
                        unsigned short sequence, unsigned long tick, int type = ICMP_ECHO_REQUEST_TYPE);
/* Whether a received datagram is the echo reply to this ping: with an IP
 * header (raw IPv4 sockets: its length is the low four bits of the first
 * byte times 4) or without (ICMP datagram sockets, every ICMPv6 socket); of
 * replyType (0, or ICMP6_ECHO_REPLY_TYPE), the identifier field and the
 * sequence of the request. 1 when it is; then *tick is the tick count it
 * carries and *hasTick 1, or 0 when the reply is too short to carry it. */
int PingMatchReply(const unsigned char *datagram, size_t length, int withIpHeader,
                   const unsigned char identifier[2], unsigned short sequence, unsigned long *tick,
                   int *hasTick, int replyType = ICMP_ECHO_REPLY_TYPE);
/* FtpPing's result text: the time in decimal, or the name of the failure. */
const char *PingResultText(long result, char *buffer, size_t size);

/* --- ping.cpp --- */

/* Pings the host part (up to the first blank) of a host text: an address
 * (dotted IPv4, an IPv6 literal, bare or in brackets), or a name's first
 * address and, when that fails, its second. */
long PingHost(const char *hostText, long requestedLength);
/* One address, IPv4 (ICMP) or IPv6 (ICMPv6): the ICMP socket, or the
 * system's ICMP service where there is no socket for it. */
long PingAddress(const FtpAddress *address, long requestedLength);

#endif
