// Fuzz target: the "href" link redirection over any response text.
#include "gateway_response.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  checkRedirectionRule(data, size, redirectByLink);
  return 0;
}
