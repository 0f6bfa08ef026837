// Fuzz target of ping's reply check: any datagram a raw or datagram ICMP
// socket can deliver (from any host on the network), with and without an IP
// header, against a fixed identifier and sequence.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "ping/ping.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  // The datagram in a buffer of exactly its size: a read past it is caught.
  unsigned char *datagram = new unsigned char[size ? size : 1];
  memcpy(datagram, data, size);
  const unsigned char identifier[2] = {0x34, 0x12};
  for (int withIpHeader = 0; withIpHeader < 2; withIpHeader++) {
    unsigned long tick = 0;
    int hasTick = 0;
    if (PingMatchReply(datagram, size, withIpHeader, identifier, 9, &tick, &hasTick)) {
      size_t header = withIpHeader ? static_cast<size_t>(data[0] & 0x0f) * 4 : 0;
      if (size < header + 8 || data[header] != 0 || (hasTick && size < header + 12))
        __builtin_trap();   // matched what it should not have
    }
  }
  delete[] datagram;
  return 0;
}
