/* The ICMP and ICMPv6 echo request and reply, over bytes only. */
#include "ping.h"

#include <stdio.h>
#include <string.h>

int PingDataLength(long requested)
{
  if (requested <= 0)
    return PING_DATA_DEFAULT;
  if (requested > PING_DATA_MAX)
    return PING_DATA_MAX;
  return static_cast<int>(requested);
}

unsigned short PingChecksum(const unsigned char *bytes, size_t length)
{
  unsigned long sum = 0;
  size_t i = 0;
  for (; i + 1 < length; i += 2)
    sum += (static_cast<unsigned long>(bytes[i]) << 8) | bytes[i + 1];
  if (i < length)
    sum += static_cast<unsigned long>(bytes[i]) << 8;   /* an odd byte, padded with zero */
  while (sum >> 16)
    sum = (sum & 0xffff) + (sum >> 16);
  return static_cast<unsigned short>(~sum & 0xffff);
}

void PingIdentifierField(unsigned processId, unsigned char field[2])
{
  unsigned short identifier = static_cast<unsigned short>(processId & 0xffff);
  memcpy(field, &identifier, 2);   /* the host's byte order, as the request carries it */
}

size_t PingBuildRequest(unsigned char *buffer, int dataLength, const unsigned char identifier[2],
                        unsigned short sequence, unsigned long tick, int type)
{
  size_t length = PING_HEADER_SIZE + static_cast<size_t>(dataLength);
  buffer[0] = static_cast<unsigned char>(type);
  buffer[1] = 0;
  buffer[2] = buffer[3] = 0;
  buffer[4] = identifier[0];
  buffer[5] = identifier[1];
  buffer[6] = static_cast<unsigned char>(sequence >> 8);
  buffer[7] = static_cast<unsigned char>(sequence & 0xff);
  unsigned int ticks = static_cast<unsigned int>(tick);
  memcpy(buffer + 8, &ticks, 4);
  /* Every data byte after the tick count, to the end of the request: none
   * is left from an earlier, longer request. */
  for (size_t k = 12; k < length; k++)
    buffer[k] = static_cast<unsigned char>((k - 4) & 0xff);
  if (type == ICMP6_ECHO_REQUEST_TYPE)
    return length;
  unsigned short sum = PingChecksum(buffer, length);
  buffer[2] = static_cast<unsigned char>(sum >> 8);
  buffer[3] = static_cast<unsigned char>(sum & 0xff);
  return length;
}

int PingMatchReply(const unsigned char *datagram, size_t length, int withIpHeader,
                   const unsigned char identifier[2], unsigned short sequence, unsigned long *tick,
                   int *hasTick, int replyType)
{
  if (length == 0)
    return 0;
  size_t header = withIpHeader ? static_cast<size_t>(datagram[0] & 0x0f) * 4 : 0;
  if (length < header + PING_HEADER_SIZE)
    return 0;
  const unsigned char *icmp = datagram + header;
  if (icmp[0] != replyType)
    return 0;
  if (icmp[4] != identifier[0] || icmp[5] != identifier[1])
    return 0;   /* another ping's reply */
  if (((icmp[6] << 8) | icmp[7]) != sequence)
    return 0;
  *hasTick = length >= header + PING_HEADER_SIZE + 4;
  if (*hasTick) {
    unsigned int ticks;
    memcpy(&ticks, icmp + 8, 4);
    *tick = ticks;
  }
  return 1;
}

const char *PingResultText(long result, char *buffer, size_t size)
{
  switch (result) {
  case PING_REPLY:  return "PINGREPLY";
  case PING_SOCKET: return "PINGSOCKET";
  case PING_PROTO:  return "PINGPROTO";
  case PING_SEND:   return "PINGSEND";
  case PING_RECV:   return "PINGRECV";
  case PING_HOST:   return "PINGHOST";
  default:
    snprintf(buffer, size, "%ld", result);
    return buffer;
  }
}
