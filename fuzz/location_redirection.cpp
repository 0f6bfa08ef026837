// Fuzz target: the "Location:" redirection over any response text.
#include "gateway_response.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  CString response = responseFromBytes(data, size);
  for (bool secure : {false, true}) {
    ExchangeTarget target = startingTarget(secure);
    checkRedirection(redirectByLocation(response, gatewayPath, target), response, target, startingTarget(secure));
  }
  return 0;
}
