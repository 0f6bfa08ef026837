// Fuzz target: the classification of a gateway response and the redirection
// that its class selects, as one exchange handles them.
#include "gateway_response.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  CString response = responseFromBytes(data, size);
  ResponseClass kind = classifyResponse(response);
  ExchangeTarget target = startingTarget();
  switch (kind) {
  case responseLocation:
    checkRedirection(redirectByLocation(response, gatewayPath, target), response, target);
    break;
  case responseLink:
    checkRedirection(redirectByLink(response, gatewayPath, target), response, target);
    break;
  case responseConfirmed:
  case responseNotConfirmed: {
    CString upper = response;
    upper.MakeUpper();
    // No line begins with the "Location:" header, and no link anywhere.
    if (upper.Find("LOCATION:") == 0 || upper.Find("\nLOCATION:") >= 0 || upper.Find("HREF") >= 0)
      std::abort();
    if ((upper.Find("RESULT1=SUCCESS") >= 0) != (kind == responseConfirmed))
      std::abort();
    break;
  }
  }
  return 0;
}
