// Fuzz target: the "Location:" redirection over any response text.
#include "gateway_response.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  CString response = responseFromBytes(data, size);
  ExchangeTarget target = startingTarget();
  checkRedirection(redirectByLocation(response, gatewayPath, target), response, target);
  return 0;
}
