/* ICMP sockets, the clock and the system's echo service as ping needs them:
 * one body per platform (win32/icmp.cpp, posix/icmp.cpp). */
#ifndef WENDRIK_PING_ICMP_H
#define WENDRIK_PING_ICMP_H

#include <stddef.h>

typedef int PingSocket;
#define PING_NO_SOCKET (-1)

/* The "icmp" protocol number; 0, or -1 when the entry is unknown. */
int pingProtocol(int *protocol);
/* A raw ICMP socket (its datagrams start with the IP header), or
 * PING_NO_SOCKET when the system does not give one (privileges). */
PingSocket pingOpenRaw(int protocol);
/* An unprivileged ICMP datagram socket (no IP header; the system sets the
 * identifier), or PING_NO_SOCKET where the system has or allows none. */
PingSocket pingOpenDatagram(int protocol);
/* The identifier field the system puts into a datagram socket's requests
 * (known after the first send); 0, or -1 when it is not known. */
int pingIdentifierOf(PingSocket s, unsigned char field[2]);
/* Sends a request to the address; the number of bytes sent, or -1. */
long pingSend(PingSocket s, const unsigned char ip[4], const unsigned char *bytes, size_t length);
/* 1 readable, 0 timed out, -1 the wait failed. */
int pingWait(PingSocket s, long milliseconds);
/* One datagram: its length, 0 at the end, -1 on an error. */
long pingReceive(PingSocket s, unsigned char *buffer, size_t size);
void pingClose(PingSocket s);

/* A millisecond tick count (wraps at 32 bits) and the process id. */
unsigned long pingTicks(void);
unsigned pingProcessId(void);

/* The system's own echo service where there is no ICMP socket (ICMP.DLL on
 * Windows); PING_SOCKET where the platform has none. */
long pingSystemEcho(const unsigned char ip[4], long requestedLength);

#endif
