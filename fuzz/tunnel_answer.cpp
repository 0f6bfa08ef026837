// Fuzz target: a proxy's answer to the tunnel request of an https exchange,
// read until its head has ended, as the exchange reads it.
#include <cctype>

#include "gateway_response.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  CString answer = responseFromBytes(data, size);
  bool complete = tunnelAnswerComplete(answer);
  bool established = tunnelEstablished(answer);
  // A tunnel stands only on a whole head whose status line is a 200 and
  // after which nothing came. The code follows the version's digit after
  // blanks or tabs, and a blank, a tab or the line's end follows the code.
  CString upper = answer;
  upper.MakeUpper();
  int code = 8;
  while (code < upper.GetLength() && (upper[code] == ' ' || upper[code] == '\t'))
    ++code;
  char after = upper.GetLength() > code + 3 ? upper[code + 3] : '\r';
  bool status200 = upper.Left(7) == "HTTP/1." && upper.GetLength() > 7 && isdigit(static_cast<unsigned char>(upper[7])) &&
                   code > 8 && upper.Mid(code, 3) == "200" &&
                   (after == ' ' || after == '\t' || after == '\r' || after == '\n');
  if (established && (!complete || !status200))
    std::abort();
  if (established && answer.Right(2) != "\n\n" && answer.Right(4) != "\r\n\r\n")
    std::abort();
  return 0;
}
