// Ping: the request and reply bytes as tables against known vectors, and
// the measurement loop over a scripted ICMP port (foreign replies, time
// budget, failures, the fall-backs, the host text).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ftp/net.h"
#include "ping/ping.h"
#include "ping_fake_icmp.h"

namespace {

std::string bytes(std::initializer_list<int> values)
{
  std::string out;
  for (int v : values)
    out += static_cast<char>(v);
  return out;
}

const unsigned char *u(const std::string &s)
{
  return reinterpret_cast<const unsigned char *>(s.data());
}

TEST(PingPacket, DataLengths)
{
  struct Row {
    long requested;
    int sent;
  } rows[] = {{-5, 56}, {0, 56}, {1, 1}, {3, 3}, {56, 56}, {4088, 4088}, {4089, 4088}, {5000, 4088}};
  for (const Row &row : rows)
    EXPECT_EQ(PingDataLength(row.requested), row.sent) << row.requested;
}

TEST(PingPacket, InternetChecksum)
{
  // RFC 1071's own example, an odd length, nothing at all.
  EXPECT_EQ(PingChecksum(u(bytes({0x00, 0x01, 0xf2, 0x03, 0xf4, 0xf5, 0xf6, 0xf7})), 8), 0x220d);
  EXPECT_EQ(PingChecksum(u(bytes({0x01})), 1), 0xfeff);
  EXPECT_EQ(PingChecksum(u(bytes({0x00, 0x00})), 2), 0xffff);
  // A folded carry: ffff + 0001.
  EXPECT_EQ(PingChecksum(u(bytes({0xff, 0xff, 0x00, 0x01})), 4), 0xfffe);
}

TEST(PingPacket, RequestLayout)
{
  unsigned char identifier[2];
  PingIdentifierField(0x51234, identifier);   // the low 16 bits, host (little-endian) order
  EXPECT_EQ(identifier[0], 0x34);
  EXPECT_EQ(identifier[1], 0x12);

  unsigned char buffer[PING_REQUEST_MAX];
  size_t length = PingBuildRequest(buffer, 56, identifier, 0x0102, 0x11223344UL);
  ASSERT_EQ(length, 64u);
  std::string expected = bytes({8, 0, 0xff, 0x2f, 0x34, 0x12, 0x01, 0x02, 0x44, 0x33, 0x22, 0x11});
  for (int k = 12; k < 64; k++)
    expected += static_cast<char>(k - 4);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(buffer), length), expected);
  EXPECT_EQ(PingChecksum(buffer, length), 0);   // a correct checksum sums to zero

  // Large: 4096 bytes, the pattern wrapping at 256.
  length = PingBuildRequest(buffer, PingDataLength(5000), identifier, 1, 0);
  ASSERT_EQ(length, 4096u);
  EXPECT_EQ(buffer[260], (260 - 4) % 256);
  EXPECT_EQ(buffer[4095], (4095 - 4) % 256);
  EXPECT_EQ(PingChecksum(buffer, length), 0);

  // Fewer than 4 data bytes: the tick count goes in part (an odd length too).
  length = PingBuildRequest(buffer, 2, identifier, 7, 0x11223344UL);
  ASSERT_EQ(length, 10u);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(buffer), length),
            bytes({8, 0, 0x7f, 0xb3, 0x34, 0x12, 0, 7, 0x44, 0x33}));

  // After a long request, a short one's last bytes are its own pattern.
  PingBuildRequest(buffer, 100, identifier, 1, 0);
  length = PingBuildRequest(buffer, 8, identifier, 1, 0);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(buffer) + 12, 4), bytes({8, 9, 10, 11}));
}

// An echo reply as a raw socket receives it: IP header, then ICMP.
std::string reply(int headerWords, int type, int id0, int id1, int sequence, unsigned tick, size_t dataLength)
{
  std::string datagram(static_cast<size_t>(headerWords) * 4, '\0');
  datagram[0] = static_cast<char>(0x40 | headerWords);
  std::string icmp = bytes({type, 0, 0, 0, id0, id1, sequence >> 8, sequence & 0xff});
  std::string data(dataLength, 'd');
  if (dataLength >= 4)
    std::memcpy(&data[0], &tick, 4);
  return datagram + icmp + data;
}

TEST(PingPacket, ReplyChecks)
{
  const unsigned char id[2] = {0x34, 0x12};
  struct Row {
    const char *what;
    std::string datagram;
    int withIpHeader;
    int matches;
    int hasTick;
  } rows[] = {
    {"our reply", reply(5, 0, 0x34, 0x12, 9, 1234, 56), 1, 1, 1},
    {"IP options: a longer header", reply(6, 0, 0x34, 0x12, 9, 1234, 56), 1, 1, 1},
    {"another ping's identifier", reply(5, 0, 0x12, 0x34, 9, 1234, 56), 1, 0, 0},
    {"another sequence", reply(5, 0, 0x34, 0x12, 10, 1234, 56), 1, 0, 0},
    {"our own request seen on the way out", reply(5, 8, 0x34, 0x12, 9, 1234, 56), 1, 0, 0},
    {"a destination-unreachable message", reply(5, 3, 0x34, 0x12, 9, 1234, 56), 1, 0, 0},
    {"the header alone", reply(5, 0, 0x34, 0x12, 9, 0, 0).substr(0, 27), 1, 0, 0},
    {"eight bytes after the header: no tick count", reply(5, 0, 0x34, 0x12, 9, 0, 0), 1, 1, 0},
    {"a header length beyond the datagram", bytes({0x4f, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 1, 0, 0},
    {"a datagram socket's reply starts with the ICMP header",
     bytes({0, 0, 0, 0, 0x34, 0x12, 0, 9, 0xd2, 0x04, 0, 0}), 0, 1, 1},
    {"nothing", "", 1, 0, 0},
  };
  for (const Row &row : rows) {
    unsigned long tick = 0;
    int hasTick = -1;
    int matched = PingMatchReply(u(row.datagram), row.datagram.size(), row.withIpHeader, id, 9, &tick, &hasTick);
    EXPECT_EQ(matched, row.matches) << row.what;
    if (matched) {
      EXPECT_EQ(hasTick, row.hasTick) << row.what;
      if (row.hasTick) {
        EXPECT_EQ(tick, 1234u) << row.what;
      }
    }
  }
}

TEST(PingPacket, ResultTexts)
{
  char number[24];
  EXPECT_STREQ(PingResultText(0, number, sizeof number), "0");
  EXPECT_STREQ(PingResultText(17, number, sizeof number), "17");
  EXPECT_STREQ(PingResultText(-1, number, sizeof number), "PINGREPLY");
  EXPECT_STREQ(PingResultText(-2, number, sizeof number), "-2");
  EXPECT_STREQ(PingResultText(-3, number, sizeof number), "PINGSOCKET");
  EXPECT_STREQ(PingResultText(-4, number, sizeof number), "PINGPROTO");
  EXPECT_STREQ(PingResultText(-5, number, sizeof number), "PINGSEND");
  EXPECT_STREQ(PingResultText(-6, number, sizeof number), "PINGRECV");
  EXPECT_STREQ(PingResultText(-7, number, sizeof number), "PINGHOST");
}

class PingLoop : public ::testing::Test {
protected:
  void SetUp() override { fakeIcmpReset(); }
  long ping(long length = 0)
  {
    FtpAddress loopback = {{127, 0, 0, 1}, 0, FTP_IPV4, 0};
    return PingAddress(&loopback, length);
  }
  static std::string sequenceOf(const std::string &request) { return request.substr(6, 2); }
};

TEST_F(PingLoop, RoundTripFromTheTickCountTheReplyCarries)
{
  fakeIcmp().arrivals = {{1005, fakeEchoReply(0)}};
  EXPECT_EQ(ping(), 5);
  ASSERT_EQ(fakeIcmp().requests.size(), 1u);
  EXPECT_EQ(fakeIcmp().requests[0].size(), 64u);
  EXPECT_EQ(fakeIcmp().destinations[0], "127.0.0.1");
  EXPECT_EQ(fakeIcmp().socketsClosed, 1);
}

TEST_F(PingLoop, ForeignDatagramsAreIgnoredWithinTheBudget)
{
  auto otherIdentifier = fakeEchoReply(0, [](std::string &icmp) { icmp[4] = 0x55; });
  auto ownRequest = fakeEchoReply(0, [](std::string &icmp) { icmp[0] = ICMP_ECHO_REQUEST_TYPE; });
  auto otherSequence = fakeEchoReply(0, [](std::string &icmp) { icmp[7] ^= 1; });
  FakeIcmp &fake = fakeIcmp();
  fake.arrivals = {{1001, ownRequest}, {1002, otherIdentifier}, {1003, otherSequence}};
  // Another ping process's replies every 10 ms for 1.5 s: the budget is what
  // is left of three seconds, not shortened by each of them.
  for (long at = 1010; at < 2500; at += 10)
    fake.arrivals.push_back({at, otherIdentifier});
  fake.arrivals.push_back({2600, fakeEchoReply(1)});
  long result = ping();
  // At most three requests, all with one sequence; the reply to the second
  // (sent at 1001) counts from its own tick count.
  ASSERT_EQ(fake.requests.size(), 3u);
  EXPECT_EQ(sequenceOf(fake.requests[0]), sequenceOf(fake.requests[2]));
  EXPECT_EQ(result, 2600 - 1001);
}

TEST_F(PingLoop, NoReplyWithinThreeSeconds)
{
  // The first wait takes the whole budget; the second request goes out as
  // it ends, and then the budget is spent.
  EXPECT_EQ(ping(), PING_REPLY);
  EXPECT_EQ(fakeIcmp().requests.size(), 2u);
  EXPECT_GE(fakeIcmp().now, 1000 + PING_BUDGET_MS);
  EXPECT_LE(fakeIcmp().now, 1000 + PING_BUDGET_MS + 1);
  EXPECT_EQ(fakeIcmp().socketsClosed, 1);
}

TEST_F(PingLoop, AReplyWithATickCountOfNoRequestOfThisPing)
{
  auto stale = fakeEchoReply(0, [](std::string &icmp) { icmp[8] = static_cast<char>(0x10); icmp[9] = 0; });
  fakeIcmp().arrivals = {{1004, stale}, {1008, fakeEchoReply(0)}};
  EXPECT_EQ(ping(), 8);
}

TEST_F(PingLoop, FailuresOfTheSocket)
{
  fakeIcmp().sendShort = 0;
  EXPECT_EQ(ping(), PING_SEND);
  EXPECT_EQ(fakeIcmp().socketsClosed, 1);

  fakeIcmpReset();
  fakeIcmp().waitFails = true;
  EXPECT_EQ(ping(), PING_RECV);

  fakeIcmpReset();
  fakeIcmp().endOfData = true;
  EXPECT_EQ(ping(), PING_RECV);
  EXPECT_EQ(fakeIcmp().socketsClosed, 1);

  // A receive error starts the next round.
  fakeIcmpReset();
  fakeIcmp().arrivals = {{1002, [](const std::vector<std::string> &) { return std::string(); }},
                         {1009, fakeEchoReply(0)}};
  EXPECT_EQ(ping(), 9);

  fakeIcmpReset();
  fakeIcmp().protocolKnown = false;
  EXPECT_EQ(ping(), PING_PROTO);
  EXPECT_EQ(fakeIcmp().socketsOpened, 0);
}

TEST_F(PingLoop, WithoutARawSocket)
{
  // The datagram socket: no IP header, the identifier the system chose.
  FakeIcmp &fake = fakeIcmp();
  fake.rawAllowed = false;
  fake.datagramAllowed = true;
  fake.arrivals = {{1003, fakeEchoReply(0, [](std::string &icmp) { icmp[4] = 0x34; icmp[5] = 0x12; }, false)},
                   {1006, fakeEchoReply(0, nullptr, false)}};
  EXPECT_EQ(ping(), 6);
  EXPECT_EQ(fake.systemEchoCalls, 0);

  // Neither: the system's echo service, where there is one.
  fakeIcmpReset();
  fakeIcmp().rawAllowed = false;
  EXPECT_EQ(ping(), PING_SOCKET);
  EXPECT_EQ(fakeIcmp().systemEchoCalls, 1);
  fakeIcmp().systemEcho = 12;
  EXPECT_EQ(ping(), 12);
}

TEST_F(PingLoop, EachPingHasTheNextSequence)
{
  ping();
  std::string first = fakeIcmp().requests[0];
  fakeIcmpReset();
  ping();
  std::string second = fakeIcmp().requests[0];
  int a = (static_cast<unsigned char>(first[6]) << 8) | static_cast<unsigned char>(first[7]);
  int b = (static_cast<unsigned char>(second[6]) << 8) | static_cast<unsigned char>(second[7]);
  EXPECT_EQ(b, (a + 1) & 0xffff);
}

TEST_F(PingLoop, HostTexts)
{
  ftpNetStart();
  fakeIcmp().arrivals = {{1001, fakeEchoReply(0)}};
  EXPECT_EQ(PingHost("127.0.0.9 and more words", 0), 1);
  EXPECT_EQ(fakeIcmp().destinations[0], "127.0.0.9");

  // A name that fails in the resolver itself (a label over 63 characters):
  // nothing is sent, no socket opened.
  fakeIcmpReset();
  EXPECT_EQ(PingHost("no-such-host-with-a-label-longer-than-sixty-three-characters-xxxxx.invalid", 0), PING_HOST);
  EXPECT_EQ(fakeIcmp().socketsOpened, 0);
  EXPECT_TRUE(fakeIcmp().requests.empty());
  // Longer than any host name: not cut into another name.
  EXPECT_EQ(PingHost(std::string(300, 'a').c_str(), 0), PING_HOST);
  EXPECT_EQ(fakeIcmp().socketsOpened, 0);
}

}  // namespace

namespace {

// ICMPv6: the same request with type 128 and the checksum left to the system
// (it covers the addresses, which the system chooses); replies of type 129,
// never with an IP header.
TEST(PingPacket, Icmp6RequestAndReply)
{
  unsigned char identifier[2] = {0x34, 0x12};
  unsigned char v4[PING_REQUEST_MAX], v6[PING_REQUEST_MAX];
  size_t length = PingBuildRequest(v6, 56, identifier, 0x0102, 0x11223344UL, ICMP6_ECHO_REQUEST_TYPE);
  ASSERT_EQ(length, PingBuildRequest(v4, 56, identifier, 0x0102, 0x11223344UL));
  EXPECT_EQ(v6[0], ICMP6_ECHO_REQUEST_TYPE);
  EXPECT_EQ(v6[2], 0);
  EXPECT_EQ(v6[3], 0);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(v6) + 4, length - 4),
            std::string(reinterpret_cast<char *>(v4) + 4, length - 4));

  std::string reply(reinterpret_cast<char *>(v6), length);
  reply[0] = static_cast<char>(ICMP6_ECHO_REPLY_TYPE);
  unsigned long tick = 0;
  int hasTick = 0;
  EXPECT_EQ(PingMatchReply(u(reply), reply.size(), 0, identifier, 0x0102, &tick, &hasTick, ICMP6_ECHO_REPLY_TYPE),
            1);
  EXPECT_EQ(tick, 0x11223344UL);
  // Our own request seen on the way out, an IPv4 echo reply's type, a
  // destination-unreachable message (type 1): none of them is the reply.
  for (int type : {ICMP6_ECHO_REQUEST_TYPE, ICMP_ECHO_REPLY_TYPE, 1}) {
    reply[0] = static_cast<char>(type);
    EXPECT_EQ(PingMatchReply(u(reply), reply.size(), 0, identifier, 0x0102, &tick, &hasTick, ICMP6_ECHO_REPLY_TYPE),
              0)
        << type;
  }
}

class PingLoop6 : public ::testing::Test {
protected:
  void SetUp() override
  {
    fakeIcmpReset();
    ftpNetStart();
  }
  // An echo reply to request n as an ICMPv6 socket receives it.
  static std::function<std::string(const std::vector<std::string> &)> reply6(size_t n)
  {
    return fakeEchoReply(n, [](std::string &icmp) { icmp[0] = static_cast<char>(ICMP6_ECHO_REPLY_TYPE); }, false);
  }
};

TEST_F(PingLoop6, AnIpv6HostIsPingedOverIcmp6)
{
  FakeIcmp &fake = fakeIcmp();
  // An IPv4 reply and our own request come first; the ICMPv6 reply counts.
  fake.arrivals = {{1001, fakeEchoReply(0, nullptr, false)},
                   {1002, fakeEchoReply(0, [](std::string &icmp) { icmp[0] = static_cast<char>(128); }, false)},
                   {1004, reply6(0)}};
  EXPECT_EQ(PingHost("::1", 0), 4);
  ASSERT_EQ(fake.requests.size(), 3u);   // one a round, as over IPv4
  EXPECT_EQ(fake.requests[0][0], static_cast<char>(ICMP6_ECHO_REQUEST_TYPE));
  EXPECT_EQ(fake.requests[0].size(), 64u);
  EXPECT_EQ(fake.destinations[0], "::1");
  ASSERT_EQ(fake.families.size(), 1u);
  EXPECT_EQ(fake.families[0], FTP_IPV6);
  EXPECT_EQ(fake.socketsClosed, 1);

  // The host texts: in brackets (a port after them too), with more words,
  // in full; the budget and failures as IPv4's.
  const char *texts[] = {"[::1]", "[::1]:21", " ::1 and more words", "0:0:0:0:0:0:0:1", "[2001:DB8::7]"};
  for (const char *text : texts) {
    fakeIcmpReset();
    fakeIcmp().arrivals = {{1003, reply6(0)}};
    EXPECT_EQ(PingHost(text[0] == ' ' ? text + 1 : text, 0), 3) << text;
  }
  EXPECT_EQ(fakeIcmp().destinations[0], "2001:db8::7");
  fakeIcmpReset();
  EXPECT_EQ(PingHost("::1", 0), PING_REPLY);
  EXPECT_GE(fakeIcmp().now, 1000 + PING_BUDGET_MS);
}

TEST_F(PingLoop6, WithoutARawSocketAndWithout)
{
  // Linux's unprivileged ICMPv6 datagram socket: the identifier it chose.
  FakeIcmp &fake = fakeIcmp();
  fake.rawAllowed = false;
  fake.datagramAllowed = true;
  fake.arrivals = {{1006, fakeEchoReply(0, [](std::string &icmp) { icmp[0] = static_cast<char>(129); }, false)}};
  EXPECT_EQ(PingHost("::1", 0), 6);
  EXPECT_EQ(fake.systemEchoCalls, 0);
  // Neither socket: the system's echo service (Windows: Icmp6SendEcho2).
  fakeIcmpReset();
  fakeIcmp().rawAllowed = false;
  fakeIcmp().systemEcho = 2;
  EXPECT_EQ(PingHost("::1", 0), 2);
  EXPECT_EQ(fakeIcmp().systemEchoCalls, 1);
}

TEST_F(PingLoop6, BracketsAroundNoIpv6AddressNameNoHost)
{
  // Nothing is resolved or sent: not the name inside, not the IPv4 address.
  const char *texts[] = {"[::1", "[127.0.0.1]", "[localhost]", "[::1]x", "[]", "[::1%]"};
  for (const char *text : texts) {
    fakeIcmpReset();
    EXPECT_EQ(PingHost(text, 0), PING_HOST) << text;
    EXPECT_EQ(fakeIcmp().socketsOpened, 0) << text;
    EXPECT_TRUE(fakeIcmp().families.empty()) << text;
  }
}

}  // namespace
