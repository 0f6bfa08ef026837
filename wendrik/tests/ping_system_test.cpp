// The system's echo services that ping uses without an ICMP socket: ICMP.DLL
// for IPv4 and Icmp6SendEcho2 of IPHLPAPI.DLL for IPv6 on Windows (run under
// Wine), loaded at run time.
#include <gtest/gtest.h>

#include <windows.h>

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

// Wine 8 has Icmp6CreateFile as a stub that fails with
// ERROR_CALL_NOT_IMPLEMENTED. There the service is unusable, and a ping of an
// IPv6 host gives PINGPROTO at once; where it works, ::1 answers. (The call
// script ping_ipv6.calls asks this test whether it can run.)
TEST(PingSystemEcho, Icmp6OnLoopback)
{
  const FtpAddress loopback = {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 0, FTP_IPV6, 0};
  typedef HANDLE(WINAPI * CreateEntry)(void);
  typedef BOOL(WINAPI * CloseEntry)(HANDLE);
  HMODULE library = LoadLibraryA("IPHLPAPI.DLL");
  ASSERT_NE(library, nullptr);
  CreateEntry create = reinterpret_cast<CreateEntry>(
      reinterpret_cast<void (*)(void)>(GetProcAddress(library, "Icmp6CreateFile")));
  CloseEntry close = reinterpret_cast<CloseEntry>(
      reinterpret_cast<void (*)(void)>(GetProcAddress(library, "IcmpCloseHandle")));
  ASSERT_NE(create, nullptr);
  ASSERT_NE(close, nullptr);
  HANDLE handle = create();
  DWORD error = GetLastError();
  if (handle == INVALID_HANDLE_VALUE && (error == ERROR_CALL_NOT_IMPLEMENTED || error == ERROR_NOT_SUPPORTED)) {
    EXPECT_EQ(pingSystemEcho(&loopback, 0), PING_PROTO);
    GTEST_SKIP() << "Icmp6CreateFile is not implemented here (error " << error
                 << "; Wine 8 has it as a stub): FtpPing of an IPv6 host gives PINGPROTO";
  }
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  close(handle);
  long result = pingSystemEcho(&loopback, 0);
  EXPECT_GE(result, 0) << result;
  result = pingSystemEcho(&loopback, 5000);
  EXPECT_GE(result, 0) << result;
}

}  // namespace
