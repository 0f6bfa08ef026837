// Fuzz target: the classification of a gateway response and the redirection
// that its class selects, as one exchange handles them.
#include "gateway_response.h"

namespace {

bool isDigit(char c)
{
  return c >= '0' && c <= '9';
}

// The plainest error status line: "HTTP/1.", a digit, one blank, 4 or 5 and
// two digits, then the end, a blank or a line end.
bool plainErrorStatus(const CString& upper)
{
  if (upper.GetLength() < 12 || upper.Left(7) != "HTTP/1." || !isDigit(upper[7]) || upper[8] != ' ')
    return false;
  if ((upper[9] != '4' && upper[9] != '5') || !isDigit(upper[10]) || !isDigit(upper[11]))
    return false;
  return upper.GetLength() == 12 || upper[12] == ' ' || upper[12] == '\r' || upper[12] == '\n';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  CString response = responseFromBytes(data, size);
  ResponseClass kind = classifyResponse(response);
  ExchangeTarget target = startingTarget();
  CString upper = response;
  upper.MakeUpper();
  // An error status line is refused before any other rule is asked.
  if (plainErrorStatus(upper) && kind != responseRefused)
    std::abort();
  switch (kind) {
  case responseRefused: {
    // A status line "HTTP/1.x 4xx" or "5xx" opens the response; what is shown
    // of it is one bounded line without control bytes.
    if (upper.Left(7) != "HTTP/1." || upper.GetLength() < 12)
      std::abort();
    CString shown = shownStatusLine(response);
    if (shown.GetLength() > shownStatusLineLength || shown.GetLength() < 12)
      std::abort();
    if (shown.Left(5).CompareNoCase("HTTP/") != 0)
      std::abort();
    for (int i = 0; i < shown.GetLength(); ++i)
      if (static_cast<unsigned char>(shown[i]) < ' ' || shown[i] == 0x7F)
        std::abort();
    break;
  }
  case responseLocation:
    checkRedirection(redirectByLocation(response, gatewayPath, target), response, target, startingTarget());
    break;
  case responseLink:
    checkRedirection(redirectByLink(response, gatewayPath, target), response, target, startingTarget());
    break;
  case responseConfirmed:
  case responseNotConfirmed: {
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
