// Name resolution (resolveHost with the test resolver), the sockets port's
// start-up rules that both platforms share, and the choice of target.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/reg_exception.h"
#include "framework/text_locale.h"
#include "net/product_registration.h"
#include "net/sockets.h"
#include "string_ids.h"
#include "tables/operator_data.h"

namespace {

std::vector<std::string> asked;
int nextError = 0;

// Knows "gateway.test" and every name while nextError is 0; fails otherwise.
bool testResolver(const char* name, NameLookupAnswer& answer)
{
  asked.push_back(name);
  answer.found = nextError == 0;
  answer.address = Ipv4Address{{127, 0, 0, 9}};
  answer.error = nextError;
  return true;
}

class ResolveHost : public testing::Test {
protected:
  void SetUp() override
  {
    asked.clear();
    nextError = 0;
    setNameLookupHook(testResolver);
    socketStartup();
  }
  void TearDown() override
  {
    socketCleanup();
    setNameLookupHook(nullptr);
  }
  // The answer, with the diagnostic lines written.
  int resolve(const char* name, std::string& lines)
  {
    testing::internal::CaptureStdout();
    int answer = registration.resolveHost(name);
    lines = testing::internal::GetCapturedStdout();
    return answer;
  }
  std::string address() const
  {
    const unsigned char* b = registration.address().bytes;
    return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." + std::to_string(b[3]);
  }

  ProductRegistration registration;
};

}  // namespace

TEST_F(ResolveHost, NamesAreLookedUpAndDottedTextsConverted)
{
  std::string lines;
  EXPECT_EQ(resolve("gateway.test", lines), 0);
  EXPECT_EQ(address(), "127.0.0.9");
  ASSERT_NE(registration.hostEntry(), nullptr);
  EXPECT_EQ(lines, "");
  EXPECT_EQ(resolve("127.0.0.2", lines), 0);
  EXPECT_EQ(address(), "127.0.0.2");
  EXPECT_EQ(asked, std::vector<std::string>{"gateway.test"});

  for (const char* text : {"255.255.255.255", "10.1.2.300", "", "1.2.3.4.5"}) {
    EXPECT_EQ(resolve(text, lines), -1) << text;
    EXPECT_EQ(lines, "DNS failed: Could not convert IP address\n") << text;
  }
  EXPECT_EQ(asked.size(), 1u);
}

TEST_F(ResolveHost, TransientAndHardFailures)
{
  std::string lines;
  nextError = 11002;
  EXPECT_EQ(resolve("gateway.test", lines), -2);
  EXPECT_EQ(lines, "DNS failed resolving: gateway.test\nDNS failed: Host not found, try again\n");
  EXPECT_EQ(registration.hostEntry(), nullptr);

  nextError = 11001;
  testing::internal::CaptureStdout();
  try {
    registration.resolveHost("gateway.test");
    ADD_FAILURE() << "no exception";
  } catch (CRegException* e) {
    EXPECT_EQ(e->messageId(), UINT{IDS_CONNECTION_FAILED});
    EXPECT_EQ(std::string(e->messageText()), "DNS resolution failed. ");
    e->Delete();
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "DNS failed resolving: gateway.test\nDNS failed: Authoritative host not found\n");
  // The hard failure cleaned up Winsock; TearDown's cleanup has nothing left.
  socketStartup();
}

// A name written in double-byte characters is a name, looked up as such.
TEST_F(ResolveHost, DoubleByteNamesAreLookedUp)
{
  CString before = currentLocaleName();
  ASSERT_FALSE(selectLocale("Japanese_Japan.932").IsEmpty());
  std::string lines;
  const char japanese[] = "\x93\xfa\x96\x7b.test";
  EXPECT_EQ(resolve(japanese, lines), 0);
  EXPECT_EQ(asked, std::vector<std::string>{japanese});
  // Digits and dots only never are.
  EXPECT_EQ(resolve("127.0.0.3", lines), 0);
  EXPECT_EQ(asked.size(), 1u);
  selectLocale(before);
}

// Both platforms: nothing works before WSAStartup, and the last WSACleanup
// ends the sockets left open.
TEST(Sockets, StartUpAndCleanUp)
{
  EXPECT_EQ(openStreamSocket(), invalidSocket);
  EXPECT_EQ(lastSocketError(), wsaNotInitialised);
  ASSERT_EQ(socketStartup(), 0);
  ASSERT_EQ(socketStartup(), 0);
  SocketHandle s = openStreamSocket();
  ASSERT_NE(s, invalidSocket);
  EXPECT_EQ(socketCleanup(), 0);
  EXPECT_NE(waitReadable(s, 0), -1);   // still open after the inner cleanup
  EXPECT_EQ(waitReadable(s, -1), -1);
  EXPECT_EQ(lastSocketError(), wsaInvalid);
  EXPECT_EQ(socketCleanup(), 0);
  EXPECT_EQ(waitReadable(s, 0), -1);   // closed by the last one
  EXPECT_EQ(openStreamSocket(), invalidSocket);
  EXPECT_EQ(socketCleanup(), -1);
  EXPECT_EQ(lastSocketError(), wsaNotInitialised);
}

TEST(Sockets, DottedAddresses)
{
  Ipv4Address address{{0, 0, 0, 0}};
  ASSERT_TRUE(inetAddr("127.1.2.3", address));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(address.bytes), 4), "\x7f\x01\x02\x03");
  EXPECT_FALSE(inetAddr("255.255.255.255", address));
  EXPECT_FALSE(inetAddr("10.1.2.300", address));
  EXPECT_FALSE(inetAddr("host.test", address));
}

TEST(RegistrationTarget, ByTheConnectOption)
{
  EXPECT_EQ(std::string(registrationTarget("direct")), registrationServerHost);
  EXPECT_EQ(std::string(registrationTarget("DIRECT")), registrationServerHost);
  EXPECT_EQ(std::string(registrationTarget("directip")), registrationServerAddress);
  EXPECT_EQ(std::string(registrationTarget("yes")), "localhost/software/prodreg/register");
  EXPECT_EQ(std::string(registrationTarget("anything")), "localhost/software/prodreg/register");
}
