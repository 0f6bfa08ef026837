// Fuzz target: a proxy's answer to the tunnel request of an https exchange,
// read until its head has ended, as the exchange reads it.
#include "gateway_response.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  CString answer = responseFromBytes(data, size);
  bool complete = tunnelAnswerComplete(answer);
  bool established = tunnelEstablished(answer);
  // A tunnel stands only on a whole head whose status line is a 200 and
  // after which nothing came.
  CString upper = answer;
  upper.MakeUpper();
  if (established && (!complete || upper.Left(7) != "HTTP/1." || upper.Find(" 200") < 0))
    std::abort();
  if (established && answer.Right(2) != "\n\n" && answer.Right(4) != "\r\n\r\n")
    std::abort();
  return 0;
}
