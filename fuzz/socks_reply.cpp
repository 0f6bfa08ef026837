// Fuzz target: the SOCKS 4 reply as one recv leaves it in the 8-byte field
// (the reply code cleared first): granted exactly when the code is 0x5A.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "net/socks_request.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  unsigned char reply[8] = {0};
  std::memcpy(reply, data, size < sizeof reply ? size : sizeof reply);
  bool granted = socksReplyGranted(reply);
  if (granted != (size >= 2 && data[1] == socksGranted))
    std::abort();
  return 0;
}
