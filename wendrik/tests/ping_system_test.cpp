// The system's echo service that ping falls back on without an ICMP socket:
// ICMP.DLL on Windows (run under Wine), loaded at run time.
#include <gtest/gtest.h>

#include "ping/icmp.h"
#include "ping/ping.h"

namespace {

TEST(PingSystemEcho, AnswersOnLoopback)
{
  const FtpAddress loopback = {{127, 0, 0, 1}, 0, FTP_IPV4, 0};
  // The default length, the largest, one byte; the library stays bound.
  long result = pingSystemEcho(&loopback, 0);
  EXPECT_GE(result, 0) << result;
  result = pingSystemEcho(&loopback, 5000);
  EXPECT_GE(result, 0) << result;
  result = pingSystemEcho(&loopback, 1);
  EXPECT_GE(result, 0) << result;
}

}  // namespace
