// Fuzz target: the "Location:" redirection over any response text.
#include "gateway_response.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  checkRedirectionRule(data, size, redirectByLocation);
  return 0;
}
