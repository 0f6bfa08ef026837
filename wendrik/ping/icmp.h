/* ICMP sockets, the clock and the system's echo service as ping needs them:
 * one body per platform (win32/icmp.cpp, posix/icmp.cpp). Addresses are of
 * either family: ICMP for IPv4, ICMPv6 for IPv6. */
#ifndef WENDRIK_PING_ICMP_H
#define WENDRIK_PING_ICMP_H

#include <stddef.h>

#include "ftp/net.h"

typedef int PingSocket;
#define PING_NO_SOCKET (-1)

/* The protocol number of the family's ICMP ("icmp", "ipv6-icmp"); 0, or -1
 * when the entry is unknown. */
int pingProtocol(int family, int *protocol);
/* A raw ICMP socket of the family (an IPv4 one's datagrams start with the IP
 * header, an IPv6 one's with the ICMPv6 header), or PING_NO_SOCKET when the
 * system does not give one (privileges). */
PingSocket pingOpenRaw(int family, int protocol);
/* An unprivileged ICMP datagram socket (no IP header; the system sets the
 * identifier), or PING_NO_SOCKET where the system has or allows none. */
PingSocket pingOpenDatagram(int family, int protocol);
/* The identifier field the system puts into a datagram socket's requests
 * (known after the first send); 0, or -1 when it is not known. */
int pingIdentifierOf(PingSocket s, unsigned char field[2]);
/* Sends a request to the address; the number of bytes sent, or -1. */
long pingSend(PingSocket s, const FtpAddress *to, const unsigned char *bytes, size_t length);
/* 1 readable, 0 timed out, -1 the wait failed. */
int pingWait(PingSocket s, long milliseconds);
/* One datagram: its length, 0 at the end, -1 on an error. */
long pingReceive(PingSocket s, unsigned char *buffer, size_t size);
void pingClose(PingSocket s);

/* A millisecond tick count (wraps at 32 bits) and the process id. */
unsigned long pingTicks(void);
unsigned pingProcessId(void);

/* The system's own echo service where there is no ICMP socket (on Windows
 * ICMP.DLL for IPv4, Icmp6SendEcho2 of iphlpapi.dll for IPv6); PING_SOCKET
 * where the platform has none. */
long pingSystemEcho(const FtpAddress *to, long requestedLength);

#endif
