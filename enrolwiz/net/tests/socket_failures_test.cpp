// What each failed Winsock call shows and writes, by operation and code, and
// the line and answer of each name lookup failure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/socket_failures.h"

namespace {

const std::string startup = "WSAStartup failed with error code: ";
const std::string creation = "Socket creation failed with error code: ";
const std::string connecting = "Connecting to the server failed with error code: ";
const std::string socks = "Error connecting to the Socks server.";
const std::string receiving = "Receiving data failed with error code: ";

struct Row {
  SocketOperation operation;
  int code;
  std::string shown;
  std::string written;
};

// "plain": shown and written the text; "coded": the prefix and the code shown.
Row plain(SocketOperation operation, int code, const std::string& text)
{
  return {operation, code, text, text};
}

Row coded(SocketOperation operation, const std::string& prefix, int code, const std::string& text)
{
  return {operation, code, prefix + std::to_string(code), text};
}

Row byDefault(SocketOperation operation, const std::string& prefix, int code)
{
  return {operation, code, prefix + std::to_string(code), prefix + std::to_string(code)};
}

void expectRows(const std::vector<Row>& rows)
{
  for (const Row& row : rows) {
    SocketFailureText text = socketFailureText(row.operation, row.code);
    EXPECT_EQ(std::string(text.shown), row.shown) << row.operation << " " << row.code;
    EXPECT_EQ(std::string(text.written), row.written) << row.operation << " " << row.code;
  }
}

const std::string inProgress = "A previous socket connection is blocking access to the Internet.";
const std::string networkDown = "The network is down.  Check to be sure TCP/IP has been started on your machine.";
const std::string noBuffers = "A socket could not be created due to lack of memory.";
const std::string tooMany = "The limit on the number of open sockets has been reached.";
const std::string notInitialised = "Sockets were not properly initialized.";
const std::string canceled = "The socket call was canceled.";
const std::string badAddress = "The socket was given a bad address.";
const std::string invalid = "The socket was given an invalid request.";
const std::string badHandle = "A communications function was passed a bad socket handle.";

}  // namespace

TEST(SocketFailures, StartUp)
{
  expectRows({
      coded(operationStartup, startup, 10014, "A bad data pointer was passed to the socket initialization function."),
      plain(operationStartup, 10036, inProgress),
      plain(operationStartup, 10067, tooMany),
      plain(operationStartup, 10091, "TCP/IP has not been started."),
      plain(operationStartup, 10092,
            "Your current version of WinSock does not support the required functions to successfully post."),
      byDefault(operationStartup, startup, 10093),
      byDefault(operationStartup, startup, 10050),
  });
}

TEST(SocketFailures, SocketCreation)
{
  expectRows({
      plain(operationSocketCreation, 10024, tooMany),
      plain(operationSocketCreation, 10036, inProgress),
      coded(operationSocketCreation, creation, 10041, "The wrong socket protocol was requested."),
      coded(operationSocketCreation, creation, 10043, "The requested transfer protocol is not supported by sockets."),
      coded(operationSocketCreation, creation, 10044, "The requested host was not in the address family."),
      coded(operationSocketCreation, creation, 10047,
            "The address family specified is not supported by the transfer protocol."),
      plain(operationSocketCreation, 10050, networkDown),
      plain(operationSocketCreation, 10055, noBuffers),
      coded(operationSocketCreation, creation, 10093, notInitialised),
      byDefault(operationSocketCreation, creation, 10004),
      byDefault(operationSocketCreation, creation, 10067),
  });
}

TEST(SocketFailures, Connect)
{
  expectRows({
      coded(operationConnect, connecting, 10004, canceled),
      coded(operationConnect, connecting, 10013, "The attempt to cast the datagram failed."),
      coded(operationConnect, connecting, 10014, badAddress),
      coded(operationConnect, connecting, 10022, invalid),
      coded(operationConnect, connecting, 10035, "The requested socket call would block."),
      plain(operationConnect, 10036, inProgress),
      coded(operationConnect, connecting, 10037, "The requested socket is already in use."),
      coded(operationConnect, connecting, 10038, badHandle),
      coded(operationConnect, connecting, 10047,
            "The host address belongs to a different address family than the one used by the current transfer "
            "protocol."),
      coded(operationConnect, connecting, 10048, "The requested socket address was already in use."),
      plain(operationConnect, 10049, "The host address was invalid."),
      plain(operationConnect, 10050, networkDown),
      plain(operationConnect, 10051, "The network is currently unreachable."),
      plain(operationConnect, 10055, noBuffers),
      coded(operationConnect, connecting, 10056, "The socket was already connected."),
      plain(operationConnect, 10060, "The request timed out."),
      plain(operationConnect, 10061, "The connection was refused."),
      coded(operationConnect, connecting, 10093, notInitialised),
      byDefault(operationConnect, connecting, 10024),
      byDefault(operationConnect, connecting, 10065),
  });
}

// The two waits share a column; the SOCKS wait's code follows its full stop.
TEST(SocketFailures, Waits)
{
  for (SocketOperation wait : {operationSocksWait, operationDataWait}) {
    const std::string& prefix = wait == operationSocksWait ? socks : receiving;
    expectRows({
        coded(wait, prefix, 10004, canceled),
        coded(wait, prefix, 10014, badAddress),
        coded(wait, prefix, 10022, invalid),
        plain(wait, 10036, inProgress),
        coded(wait, prefix, 10038, badHandle),
        plain(wait, 10050, networkDown),
        coded(wait, prefix, 10093, notInitialised),
        byDefault(wait, prefix, 10054),
        byDefault(wait, prefix, 10061),
    });
  }
  EXPECT_EQ(std::string(socketFailureText(operationSocksWait, 10054).shown),
            "Error connecting to the Socks server.10054");
  EXPECT_EQ(std::string(timedOutText().shown), "The request timed out.");
  EXPECT_EQ(std::string(timedOutText().written), "The request timed out.");
}

TEST(SocketFailures, AutoConfigurationSocket)
{
  SocketFailureText text = autoConfigSocketFailureText(10044);
  EXPECT_EQ(std::string(text.shown), "The requested host was not in the address family.");
  EXPECT_EQ(std::string(text.written), "Creating the socket returned 10044");
  text = autoConfigSocketFailureText(10024);
  EXPECT_EQ(std::string(text.shown), tooMany);
  EXPECT_EQ(std::string(text.written), "Creating the socket returned 10024");
  text = autoConfigSocketFailureText(10041);
  EXPECT_EQ(std::string(text.shown), creation + "10041");
  text = autoConfigSocketFailureText(10107);
  EXPECT_EQ(std::string(text.shown), creation + "10107");
  EXPECT_EQ(std::string(text.written), "Creating the socket returned 10107");
}

TEST(SocketFailures, NameLookups)
{
  const struct {
    int code;
    const char* line;
    int answer;
  } rows[] = {
      {11001, "DNS failed: Authoritative host not found", -1},
      {11002, "DNS failed: Host not found, try again", -2},
      {11003, "DNS failed: Non-recoverable error", -1},
      {11004, "DNS failed: Valid name, no data", -1},
      {10093, "DNS failed: Sockets not initialised", -1},
      {10004, "DNS failed: Call canceled", -2},
      {10014, "DNS failed: Server name not valid part of address space", -1},
      {10036, "DNS failed: Blocking socket call in progress", -2},
      {10050, "DNS failed: Network subsystem has failed", -1},
      {0, "DNS failed: Unrecognized error code", -1},
      {10061, "DNS failed: Unrecognized error code", -1},
  };
  for (const auto& row : rows) {
    NameLookupFailure failure = nameLookupFailure(row.code);
    EXPECT_STREQ(failure.line, row.line) << row.code;
    EXPECT_EQ(failure.answer, row.answer) << row.code;
  }
}
