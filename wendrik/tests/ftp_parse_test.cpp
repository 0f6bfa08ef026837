// The engine's parsers as tables: replies fed byte by byte (multi-line,
// Telnet, bare line feeds, 227 texts, captures, hostile input), PASV texts,
// host texts, EPSV texts, IPv6 literals and their text, quoted directory
// names, certificate names and addresses.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ftp/parse.h"

namespace {

struct Fed {
  int result = FTP_FEED_MORE;   // of the last byte fed
  size_t consumed = 0;          // bytes fed until the reply was done
  std::string answers;          // Telnet answers, concatenated
  std::string echo;
  int flushes = 0;
};

Fed feed(FtpReplyParser &parser, const std::string &bytes)
{
  Fed fed;
  for (unsigned char byte : bytes) {
    fed.result = FtpReplyFeed(&parser, byte);
    fed.consumed++;
    fed.answers.append(reinterpret_cast<const char *>(parser.answer), parser.answerLength);
    fed.echo.append(parser.echo, parser.echoLength);
    fed.flushes += parser.flush;
    if (fed.result != FTP_FEED_MORE)
      break;
  }
  return fed;
}

std::string bytes(std::initializer_list<int> values)
{
  std::string out;
  for (int v : values)
    out += static_cast<char>(v);
  return out;
}

TEST(ReplyReader, CompletesRepliesWhereTheirLastLineEnds)
{
  struct Row {
    const char *what;
    std::string input;
    size_t consumed;   // 0: the whole input, still not complete
    int code;
    int replyClass;
  } rows[] = {
    {"one line", "200 NOOP ok.\r\n", 14, 200, 2},
    {"bare line feed", "226 done\nnext", 9, 226, 2},
    {"multi-line up to the code and a blank",
     "230-Welcome\r\n230-again\r\n 230 inner\r\n230 Logged in.\r\n", 52, 230, 2},
    {"inner lines with other codes", "211-Status\r\n200 not the end\r\n211 End\r\n", 38, 211, 2},
    {"preliminary reply", "150 Opening data connection.\r\n", 30, 150, 1},
    {"two replies in one read: the first only", "350 Ready\r\n250 Done\r\n", 11, 350, 3},
    {"a line without digits", "hello\r\n", 7, 0, 'h' - '0'},
    {"only two digits", "25 x\r\n", 6, 25, 2},
    {"open multi-line reply", "230-Welcome\r\n230-more\r\n", 0, 0, 0},
    {"a line that never ends", "200 " + std::string(100000, 'x'), 0, 0, 0},
  };
  for (const Row &row : rows) {
    FtpReplyParser parser;
    FtpReplyBegin(&parser, FTP_REPLY_READ, nullptr, 0, 0);
    Fed fed = feed(parser, row.input);
    if (row.consumed == 0) {
      EXPECT_EQ(fed.result, FTP_FEED_MORE) << row.what;
      continue;
    }
    EXPECT_EQ(fed.result, FTP_FEED_DONE) << row.what;
    EXPECT_EQ(fed.consumed, row.consumed) << row.what;
    EXPECT_EQ(parser.code, row.code) << row.what;
    EXPECT_EQ(FtpReplyClass(&parser), row.replyClass) << row.what;
  }
}

TEST(ReplyReader, RemembersTheOpeningCodeOf421)
{
  FtpReplyParser parser;
  FtpReplyBegin(&parser, FTP_REPLY_READ, nullptr, 0, 0);
  Fed fed = feed(parser, "421-Service closing\r\n421 Bye.\r\n");
  EXPECT_EQ(fed.result, FTP_FEED_DONE);
  EXPECT_EQ(parser.openingCode, 421);
  EXPECT_EQ(parser.code, 421);
}

TEST(ReplyReader, RefusesTelnetOptionsAndLeavesTheTextAsIfTheyWereAbsent)
{
  struct Row {
    const char *what;
    std::string input;
    std::string answers;
  } rows[] = {
    {"WILL gets DONT", "220 " + bytes({255, 251, 1}) + "ready\r\n", bytes({255, 254, 1})},
    {"WONT gets DONT", "220 " + bytes({255, 252, 5}) + "ready\r\n", bytes({255, 254, 5})},
    {"DO gets WONT", "220 " + bytes({255, 253, 3}) + "ready\r\n", bytes({255, 252, 3})},
    {"DONT gets WONT", "220 " + bytes({255, 254, 6}) + "ready\r\n", bytes({255, 252, 6})},
    {"other commands get nothing", "220 " + bytes({255, 241}) + "re" + bytes({255, 255}) + "ady\r\n", ""},
    {"inside the code", "2" + bytes({255, 251, 24}) + "20 ready\r\n", bytes({255, 254, 24})},
    {"a line feed as the option byte is no line end", "220 x" + bytes({255, 253, 10}) + "\r\n",
     bytes({255, 252, 10})},
  };
  for (const Row &row : rows) {
    FtpReplyParser parser;
    FtpReplyBegin(&parser, FTP_REPLY_READ, nullptr, 0, 0);
    Fed fed = feed(parser, row.input);
    EXPECT_EQ(fed.result, FTP_FEED_DONE) << row.what;
    EXPECT_EQ(fed.consumed, row.input.size()) << row.what;
    EXPECT_EQ(parser.code, 220) << row.what;
    EXPECT_EQ(fed.answers, row.answers) << row.what;
  }
  // A read that ends in the middle of a Telnet command goes on with the next.
  FtpReplyParser parser;
  FtpReplyBegin(&parser, FTP_REPLY_READ, nullptr, 0, 0);
  EXPECT_EQ(feed(parser, "220 " + bytes({255})).result, FTP_FEED_MORE);
  Fed rest = feed(parser, bytes({251, 9}) + "\r\n");
  EXPECT_EQ(rest.result, FTP_FEED_DONE);
  EXPECT_EQ(rest.answers, bytes({255, 254, 9}));
}

TEST(ReplyReader, EchoesLinesThatStartWithFive)
{
  FtpReplyParser parser;
  FtpReplyBegin(&parser, FTP_REPLY_READ, nullptr, 0, 0);
  Fed fed = feed(parser, "550-No such file\r\n 550 inner\r\n550 really.\r\n");
  EXPECT_EQ(fed.echo, "550-No such file\n550 really.\n");
  EXPECT_EQ(fed.flushes, 2);
  FtpReplyBegin(&parser, FTP_REPLY_READ, nullptr, 0, 0);
  EXPECT_EQ(feed(parser, "200 fine\r\n").echo, "");
  // Capturing echoes nothing.
  char buffer[64];
  FtpReplyBegin(&parser, FTP_REPLY_CAPTURE, buffer, sizeof buffer, 1);
  EXPECT_EQ(feed(parser, "550 refused\r\n").echo, "");
}

TEST(ReplyReader, KeepsThe227AddressText)
{
  struct Row {
    const char *what;
    std::string input;
    const char *text;
  } rows[] = {
    {"in parentheses", "227 Entering Passive Mode (127,0,0,1,195,149).\r\n", "127,0,0,1,195,149"},
    {"after an equals sign", "227 =127,0,0,1,195,149\r\n", "127,0,0,1,195,149"},
    {"bare line feed", "227 =10,1,2,3,4,5\n", "10,1,2,3,4,5"},
    {"cut to its buffer", "227 (" + std::string(500, '9') + ")\r\n", nullptr},
  };
  for (const Row &row : rows) {
    FtpReplyParser parser;
    FtpReplyBegin(&parser, FTP_REPLY_READ, nullptr, 0, 0);
    EXPECT_EQ(feed(parser, row.input).result, FTP_FEED_DONE) << row.what;
    EXPECT_GE(parser.pasvState, 2) << row.what;
    std::string text(parser.pasvText, parser.pasvLength);
    if (row.text)
      EXPECT_EQ(text, row.text) << row.what;
    else
      EXPECT_EQ(text, std::string(FTP_PASV_TEXT_SIZE - 1, '9')) << row.what;
  }
  FtpReplyParser parser;
  FtpReplyBegin(&parser, FTP_REPLY_READ, nullptr, 0, 0);
  feed(parser, "200 (127,0,0,1,1,1)\r\n");
  EXPECT_EQ(parser.pasvState, 0);
}

TEST(CaptureReply, CopiesTheTextAfterTheCodeWithinItsBuffer)
{
  struct Row {
    const char *what;
    std::string input;
    size_t size;
    int all;
    const char *captured;
  } rows[] = {
    {"directory", "257 \"/home/user\" is the current directory\r\n", 260, 0,
     "\"/home/user\" is the current directory"},
    {"2xx lines only, joined", "211-Features:\r\n MDTM\r\n211 End\r\n", 64, 0, "Features:End"},
    {"every line", "211-Features:\r\n MDTM\r\n211 End\r\n", 64, 1, "Features:MEnd"},
    {"a refusal is not kept", "550 Permission denied.\r\n", 64, 0, ""},
    {"unless everything is", "550 Permission denied.\r\n", 64, 1, "Permission denied."},
    {"at most size - 2 characters", "257 \"/abcdefghij\"\r\n", 8, 0, "\"/abcd"},
    {"a short line", "257\r\n", 64, 0, ""},
  };
  for (const Row &row : rows) {
    std::vector<char> buffer(row.size, '#');
    FtpReplyParser parser;
    FtpReplyBegin(&parser, FTP_REPLY_CAPTURE, buffer.data(), buffer.size(), row.all);
    EXPECT_EQ(feed(parser, row.input).result, FTP_FEED_DONE) << row.what;
    EXPECT_STREQ(buffer.data(), row.captured) << row.what;
  }
  // A Telnet byte while capturing drops the connection.
  char buffer[16];
  FtpReplyParser parser;
  FtpReplyBegin(&parser, FTP_REPLY_CAPTURE, buffer, sizeof buffer, 0);
  EXPECT_EQ(feed(parser, "257 " + bytes({255, 251, 1})).result, FTP_FEED_HOSTILE);
}

TEST(PasvText, GivesTheAddressOrRefusesTheText)
{
  struct Row {
    const char *text;
    int ok;
    unsigned char ip[4];
    unsigned short port;
  } rows[] = {
    {"Entering Passive Mode (127,0,0,1,195,149).", 1, {127, 0, 0, 1}, 195 * 256 + 149},
    {"=127,0,0,1,4,1", 0, {}, 0},   // the piece must begin with the digit
    {"Entering Passive Mode (10, 1, 2, 3, 0, 21)", 1, {10, 1, 2, 3}, 21},
    {"(255,255,255,255,255,255)", 1, {255, 255, 255, 255}, 65535},
    {"Entering Passive Mode (127,0,0,1,300,1).", 0, {}, 0},
    {"Entering Passive Mode (127,0,0,1,1,256).", 0, {}, 0},
    {"Entering Passive Mode (999999999999,0,0,1,1,1).", 0, {}, 0},
    {"Entering Passive Mode (127,0,0,1).", 0, {}, 0},
    {"Entering Passive Mode (127,0,0,1,4,).", 0, {}, 0},
    {"Entering Passive Mode (127,x,0,1,4,1).", 0, {}, 0},
    {"Entering Passive Mode (127,0,0,1,-4,1).", 0, {}, 0},
    {"Entering Passive Mode (-1,127,0,0,1,4,1).", 0, {}, 0},   // not read one place off
    {"Entering Passive Mode", 0, {}, 0},
    {"", 0, {}, 0},
  };
  for (const Row &row : rows) {
    FtpAddress address = {{9, 9, 9, 9}, 9, FTP_IPV4, 0};
    EXPECT_EQ(FtpParsePasv(row.text, &address) == 0, row.ok == 1) << row.text;
    if (row.ok) {
      EXPECT_EQ(std::vector<int>(address.ip, address.ip + 4), std::vector<int>(row.ip, row.ip + 4)) << row.text;
      EXPECT_EQ(address.port, row.port) << row.text;
    }
  }
  std::string endless = "(" + std::string(5000, '1');
  FtpAddress address;
  EXPECT_NE(FtpParsePasv(endless.c_str(), &address), 0);
}

TEST(HostText, SplitsTheHostFromItsPort)
{
  struct Row {
    const char *text;
    int ok;
    const char *host;
    int hasPort;
    unsigned short port;
  } rows[] = {
    {"ftp.example.test", 1, "ftp.example.test", 0, 21},
    {"127.0.0.1 2121", 1, "127.0.0.1", 1, 2121},
    {"127.0.0.1   2121", 1, "127.0.0.1", 1, 2121},
    {"127.0.0.1 ", 1, "127.0.0.1", 1, 0},
    {"127.0.0.1 ftp", 1, "127.0.0.1", 1, 0},
    {"127.0.0.1 65535", 1, "127.0.0.1", 1, 65535},
    {"127.0.0.1 65536", 0, nullptr, 1, 0},
    {"127.0.0.1 99999999999999999999", 0, nullptr, 1, 0},
  };
  for (const Row &row : rows) {
    char host[256];
    unsigned short port = 21;
    int hasPort = -1;
    EXPECT_EQ(FtpParseHostText(row.text, host, sizeof host, &port, &hasPort) == 0, row.ok == 1) << row.text;
    EXPECT_EQ(hasPort, row.hasPort) << row.text;
    if (row.ok) {
      EXPECT_STREQ(host, row.host) << row.text;
      EXPECT_EQ(port, row.port) << row.text;
    }
  }
  std::string longHost(400, 'h');
  char host[256];
  unsigned short port = 21;
  int hasPort;
  EXPECT_EQ(FtpParseHostText(longHost.c_str(), host, sizeof host, &port, &hasPort), 0);
  EXPECT_EQ(std::string(host), std::string(255, 'h'));
}

TEST(QuotedText, TakesTheTextBetweenTheFirstTwoQuotes)
{
  char out[16];
  EXPECT_EQ(FtpQuotedText("\"/home/user\" is the current directory", out, sizeof out), 0);
  EXPECT_STREQ(out, "/home/user");
  EXPECT_EQ(FtpQuotedText("\"\" empty", out, sizeof out), 0);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(FtpQuotedText("\"/a/very/long/directory/name\"", out, sizeof out), 0);
  EXPECT_STREQ(out, "/a/very/long/di");
  EXPECT_NE(FtpQuotedText("/nowhere is the directory", out, sizeof out), 0);
  EXPECT_NE(FtpQuotedText("\"/unclosed", out, sizeof out), 0);
}

TEST(CertificateName, NamesTheHostExactlyOrThroughOneWholeWildcardLabel)
{
  struct Row {
    const char *pattern;
    const char *host;
    int named;
  } rows[] = {
      {"ftp.example.org", "ftp.example.org", 1},
      {"FTP.Example.ORG", "ftp.example.org", 1},
      {"ftp.example.org", "ftp.example.org.evil", 0},
      {"ftp.example.org", "ftp.example.or", 0},
      {"*.example.org", "ftp.example.org", 1},
      {"*.example.org", "example.org", 0},
      {"*.example.org", ".example.org", 0},
      {"*.example.org", "a.b.example.org", 0},
      {"*.org", "example.org", 0},
      {"f*.example.org", "ftp.example.org", 0},
      {"*.*.org", "a.b.org", 0},
      {"ftp.*.org", "ftp.example.org", 0},
      {"", "", 0},
  };
  for (const Row &row : rows)
    EXPECT_EQ(FtpCertificateNameMatches(row.pattern, row.host), row.named) << row.pattern << " " << row.host;
}

TEST(CertificateName, ADnsNameIsTakenWithItsStatedLength)
{
  static const unsigned char good[] = "localhost";
  static const unsigned char cut[] = "localhost\0.evil.example";
  EXPECT_EQ(FtpCertificateDnsNameMatches(good, 9, "localhost"), 1);
  EXPECT_EQ(FtpCertificateDnsNameMatches(good, 9, "LOCALHOST"), 1);
  EXPECT_EQ(FtpCertificateDnsNameMatches(cut, sizeof cut - 1, "localhost"), 0);
  EXPECT_EQ(FtpCertificateDnsNameMatches(cut, sizeof cut - 1, "localhost.evil.example"), 0);
  EXPECT_EQ(FtpCertificateDnsNameMatches(good, 0, ""), 0);
  std::string longName(300, 'a');
  EXPECT_EQ(FtpCertificateDnsNameMatches(reinterpret_cast<const unsigned char *>(longName.data()), longName.size(),
                                         longName.c_str()),
            0);
}

/* The names of an encoded subjectAltName value, "kind:text" each; "!" for
 * a value that is malformed. */
static std::string altNames(const std::string &value)
{
  const unsigned char *bytes = reinterpret_cast<const unsigned char *>(value.data());
  FtpAltNameReader reader;
  if (FtpAltNamesOpen(&reader, bytes, value.size()) != 0)
    return "!";
  std::string names;
  FtpAltName name;
  int more;
  while ((more = FtpAltNamesNext(&reader, &name)) > 0)
    names += std::to_string(name.kind) + ":" + std::string(reinterpret_cast<const char *>(name.bytes), name.length) + " ";
  return more < 0 ? names + "!" : names;
}

TEST(CertificateName, AlternativeNamesAreReadAsEncoded)
{
  using namespace std::string_literals;
  // DNS "a.example", IP 127.0.0.1, an otherName (constructed, [0]) skipped over.
  EXPECT_EQ(altNames("\x30\x19" "\x82\x09" "a.example" "\x87\x04\x7f\x00\x00\x01" "\xa0\x06\x06\x01\x2a\xa0\x01\x00"s),
            "2:a.example 7:" "\x7f\x00\x00\x01" " 0:" "\x06\x01\x2a\xa0\x01\x00" " "s);
  // A NUL inside a name is kept with the name's length.
  EXPECT_EQ(altNames("\x30\x07\x82\x05" "ab" "\x00" "cd"s), "2:ab" "\x00" "cd "s);
  // A length in the long form.
  EXPECT_EQ(altNames("\x30\x81\x05\x82\x81\x02" "ab"s), "2:ab "s);
  EXPECT_EQ(altNames("\x30\x00"s), "");
  // Malformed: not a SEQUENCE, a SEQUENCE shorter or longer than the value,
  // a name beyond its end, a name that is not context-specific, a length of
  // five bytes, a tag of several bytes.
  EXPECT_EQ(altNames("\x31\x00"s), "!");
  EXPECT_EQ(altNames("\x30\x01"s), "!");
  EXPECT_EQ(altNames("\x30\x00\x00"s), "!");
  EXPECT_EQ(altNames("\x30\x06\x82\x05" "abcd"s), "!");
  EXPECT_EQ(altNames("\x30\x06\x82\x02" "ab" "\x16\x00"s), "2:ab !");
  EXPECT_EQ(altNames("\x30\x08\x82\x85\x00\x00\x00\x00\x01" "a"s), "!");
  EXPECT_EQ(altNames("\x30\x04\x9f\x1f\x01" "a"s), "!");
  EXPECT_EQ(altNames(""), "!");
}

std::vector<std::string> listingElements(const std::string &data)
{
  FtpListingReader reader;
  FtpListingBegin(&reader);
  std::vector<std::string> elements;
  for (unsigned char byte : data)
    if (FtpListingFeed(&reader, byte))
      elements.emplace_back(reader.element, reader.elementLength);
  return elements;
}

TEST(ListingReader, LinesIntoElements)
{
  const std::string x198(198, 'x');
  struct Row {
    const char *what;
    std::string data;
    std::vector<std::string> elements;
  } rows[] = {
    {"CR LF and LF line ends", "a\r\nb\nc\r\n", {"a", "b", "c"}},
    {"nothing after the last line end", "a\r\nlast", {"a"}},
    {"a CR at the very end", "a\r\nb\r", {"a"}},
    {"empty lines", "\r\n\n", {"", ""}},
    {"a CR inside a line", "a\rb\r\r\n", {"a\rb\r"}},
    {"198 characters: one element", x198 + "\r\n", {x198}},
    {"199: two", x198 + "y\n", {x198, "y"}},
    {"a CR as the 199th character", x198 + "\ry\n", {x198, "\ry"}},
    {"a long last line without its end keeps its full pieces", x198 + "tail", {x198}},
    {"nothing", "", {}},
  };
  for (const Row &row : rows)
    EXPECT_EQ(listingElements(row.data), row.elements) << row.what;
}

}  // namespace

namespace {

TEST(EpsvText, GivesThePortOrRefusesTheText)
{
  struct Row {
    const char *text;
    int ok;
    unsigned short port;
  } rows[] = {
    {"Entering Extended Passive Mode (|||6446|)", 1, 6446},
    {"Entering Extended Passive Mode (|||6446|).", 1, 6446},
    {"(!!!65535!)", 1, 65535},
    {"Extended Passive Mode Entered (###00021#)", 1, 21},
    {"Entering Extended Passive Mode (|||0|)", 0, 0},         // no port 0
    {"Entering Extended Passive Mode (|||65536|)", 0, 0},
    {"Entering Extended Passive Mode (|||99999999999999999999|)", 0, 0},
    {"Entering Extended Passive Mode (|||6446)", 0, 0},       // no closing delimiter
    {"Entering Extended Passive Mode (|||6446|", 0, 0},       // no closing parenthesis
    {"Entering Extended Passive Mode (||6446|)", 0, 0},       // two delimiters
    {"Entering Extended Passive Mode (|!|6446|)", 0, 0},      // delimiters that differ
    {"Entering Extended Passive Mode (|||6446!)", 0, 0},
    {"Entering Extended Passive Mode (|2|::1|6446|)", 0, 0},  // an address is not taken
    {"Entering Extended Passive Mode (|||-1|)", 0, 0},
    {"Entering Extended Passive Mode (|||+21|)", 0, 0},
    {"Entering Extended Passive Mode (||| 21|)", 0, 0},
    {"Entering Extended Passive Mode (111211)", 0, 0},        // a digit is no delimiter
    {"Entering Extended Passive Mode (   21 )", 0, 0},        // nor a blank
    {"Entering Passive Mode (127,0,0,1,25,46)", 0, 0},        // a 227's text
    {"Entering Extended Passive Mode", 0, 0},
    {"(", 0, 0},
    {"", 0, 0},
  };
  for (const Row &row : rows) {
    unsigned short port = 7;
    EXPECT_EQ(FtpParseEpsv(row.text, &port) == 0, row.ok == 1) << row.text;
    EXPECT_EQ(port, row.ok ? row.port : 7) << row.text;
  }
}

std::string hex(const unsigned char *bytes, size_t length)
{
  std::string out;
  char two[3];
  for (size_t i = 0; i < length; i++) {
    snprintf(two, sizeof two, "%02x", bytes[i]);
    out += two;
  }
  return out;
}

TEST(Ipv6Literal, ReadsEveryFormAndRefusesTheRest)
{
  struct Row {
    const char *text;
    const char *bytes;   // null: refused
    const char *zone;
    const char *canonical;
  } rows[] = {
    {"::1", "00000000000000000000000000000001", nullptr, "::1"},
    {"::", "00000000000000000000000000000000", nullptr, "::"},
    {"2001:db8::7", "20010db8000000000000000000000007", nullptr, "2001:db8::7"},
    {"2001:DB8:0:0:0:0:0:7", "20010db8000000000000000000000007", nullptr, "2001:db8::7"},
    {"1:2:3:4:5:6:7:8", "00010002000300040005000600070008", nullptr, "1:2:3:4:5:6:7:8"},
    {"1:2:3:4:5:6:7::", "00010002000300040005000600070000", nullptr, "1:2:3:4:5:6:7:0"},
    {"::2:3:4:5:6:7:8", "00000002000300040005000600070008", nullptr, "0:2:3:4:5:6:7:8"},
    {"1::", "00010000000000000000000000000000", nullptr, "1::"},
    {"1:0:0:2:0:0:0:3", "00010000000000020000000000000003", nullptr, "1:0:0:2::3"},
    {"1:0:0:2:2:0:0:3", "00010000000000020002000000000003", nullptr, "1::2:2:0:0:3"},
    {"0001:0db8::0007", "00010db8000000000000000000000007", nullptr, "1:db8::7"},
    {"::ffff:192.0.2.33", "00000000000000000000ffffc0000221", nullptr, "::ffff:192.0.2.33"},
    {"::192.0.2.33", "000000000000000000000000c0000221", nullptr, "::c000:221"},
    {"1:2:3:4:5:6:1.2.3.4", "00010002000300040005000601020304", nullptr, "1:2:3:4:5:6:102:304"},
    {"fe80::1%eth0", "fe800000000000000000000000000001", "eth0", "fe80::1"},
    {"fe80::1%3", "fe800000000000000000000000000001", "3", "fe80::1"},
    // Hostile and malformed: each refused.
    {"", nullptr, nullptr, nullptr},
    {":", nullptr, nullptr, nullptr},
    {":::", nullptr, nullptr, nullptr},
    {":1", nullptr, nullptr, nullptr},
    {"1:", nullptr, nullptr, nullptr},
    {"1::2::3", nullptr, nullptr, nullptr},
    {"1:2:3:4:5:6:7:8:9", nullptr, nullptr, nullptr},
    {"1:2:3:4:5:6:7:8::", nullptr, nullptr, nullptr},   // "::" stands for no group
    {"::1:2:3:4:5:6:7:8", nullptr, nullptr, nullptr},
    {"1:2:3:4:5:6:7", nullptr, nullptr, nullptr},
    {"12345::", nullptr, nullptr, nullptr},
    {"00001::", nullptr, nullptr, nullptr},
    {"g::1", nullptr, nullptr, nullptr},
    {"::1 ", nullptr, nullptr, nullptr},
    {" ::1", nullptr, nullptr, nullptr},
    {"[::1]", nullptr, nullptr, nullptr},
    {"127.0.0.1", nullptr, nullptr, nullptr},
    {"::256.0.0.1", nullptr, nullptr, nullptr},
    {"::1.2.3", nullptr, nullptr, nullptr},
    {"::1.2.3.4.5", nullptr, nullptr, nullptr},
    {"::01.2.3.4", nullptr, nullptr, nullptr},          // no leading zero
    {"::1.2.3.4:5", nullptr, nullptr, nullptr},          // the IPv4 part last
    {"1:2:3:4:5:6:7:1.2.3.4", nullptr, nullptr, nullptr},
    {"::1%", nullptr, nullptr, nullptr},
    {"::1%a b", nullptr, nullptr, nullptr},
    {"::1%a%b", nullptr, nullptr, nullptr},
    {"%eth0", nullptr, nullptr, nullptr},
  };
  for (const Row &row : rows) {
    unsigned char bytes[16] = {9};
    const char *zone = "unset";
    int rc = FtpParseIpv6(row.text, bytes, &zone);
    EXPECT_EQ(rc == 0, row.bytes != nullptr) << row.text;
    if (rc != 0 || row.bytes == nullptr)
      continue;
    EXPECT_EQ(hex(bytes, 16), row.bytes) << row.text;
    EXPECT_STREQ(zone, row.zone) << row.text;
    FtpAddress address = {{}, 0, FTP_IPV6, 0};
    memcpy(address.ip, bytes, 16);
    char text[FTP_ADDRESS_TEXT_SIZE];
    FtpAddressText(&address, text, sizeof text);
    EXPECT_STREQ(text, row.canonical) << row.text;
  }
  // The longest text there is, and cut to a small buffer.
  FtpAddress widest = {{0x12, 0x34, 0x12, 0x34, 0x12, 0x34, 0x12, 0x34, 0x12, 0x34, 0xff, 0xff, 0x12, 0x34, 0x12, 0x34},
                       0, FTP_IPV6, 0};
  char text[FTP_ADDRESS_TEXT_SIZE];
  FtpAddressText(&widest, text, sizeof text);
  EXPECT_STREQ(text, "1234:1234:1234:1234:1234:ffff:1234:1234");
  char small[5];
  FtpAddressText(&widest, small, sizeof small);
  EXPECT_STREQ(small, "1234");
  FtpAddress dotted = {{192, 0, 2, 33}, 0, FTP_IPV4, 0};
  FtpAddressText(&dotted, text, sizeof text);
  EXPECT_STREQ(text, "192.0.2.33");
}

TEST(HostText, TakesAnIpv6AddressInBracketsWithItsPort)
{
  struct Row {
    const char *text;
    int rc;
    const char *host;
    int hasPort;
    unsigned short port;
  } rows[] = {
    {"::1", 0, "::1", 0, 21},
    {"2001:db8::7 2121", 0, "2001:db8::7", 1, 2121},
    {"[2001:db8::7]", 0, "2001:db8::7", 0, 21},
    {"[2001:db8::7] 2121", 0, "2001:db8::7", 1, 2121},
    {"[2001:db8::7]:2121", 0, "2001:db8::7", 1, 2121},
    {"[fe80::1%eth0]:2121", 0, "fe80::1%eth0", 1, 2121},
    {"[::1] ", 0, "::1", 1, 0},
    {"[::1]:", 0, "::1", 1, 0},
    {"[::1]:65536", -1, "::1", 1, 21},
    {"[::1]:99999999999999999999", -1, "::1", 1, 21},
    // Brackets around no IPv6 address, or more than a port after them.
    {"[::1", FTP_HOST_TEXT_MALFORMED, "", 0, 21},
    {"[::1]2121", FTP_HOST_TEXT_MALFORMED, "", 0, 21},
    {"[::1]]", FTP_HOST_TEXT_MALFORMED, "", 0, 21},
    {"[127.0.0.1]", FTP_HOST_TEXT_MALFORMED, "", 0, 21},
    {"[ftp.example.org]:21", FTP_HOST_TEXT_MALFORMED, "", 0, 21},
    {"[:: 1]", FTP_HOST_TEXT_MALFORMED, "", 0, 21},
    {"[]", FTP_HOST_TEXT_MALFORMED, "", 0, 21},
    {"[", FTP_HOST_TEXT_MALFORMED, "", 0, 21},
  };
  for (const Row &row : rows) {
    char host[256];
    unsigned short port = 21;
    int hasPort = -1;
    EXPECT_EQ(FtpParseHostText(row.text, host, sizeof host, &port, &hasPort), row.rc) << row.text;
    EXPECT_STREQ(host, row.host) << row.text;
    EXPECT_EQ(hasPort, row.hasPort) << row.text;
    EXPECT_EQ(port, row.port) << row.text;
  }
  // Brackets that hold more than any address are refused, not cut into one.
  std::string longText = "[" + std::string(300, ':') + "1]";
  char host[256];
  unsigned short port = 21;
  int hasPort;
  EXPECT_EQ(FtpParseHostText(longText.c_str(), host, sizeof host, &port, &hasPort), FTP_HOST_TEXT_MALFORMED);
  // A small buffer: the address cut, never written past.
  char tiny[4] = {'#', '#', '#', '#'};
  EXPECT_EQ(FtpParseHostText("[2001:db8::7]", tiny, 3, &port, &hasPort), 0);
  EXPECT_STREQ(tiny, "20");
  EXPECT_EQ(tiny[3], '#');
}

TEST(CertificateName, AnAddressIsNamedByAnEntryOfItsFamily)
{
  const unsigned char v4[4] = {127, 0, 0, 1};
  const unsigned char v6[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
  const unsigned char mapped[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff, 127, 0, 0, 1};
  FtpAddress loopback4 = {{127, 0, 0, 1}, 0, FTP_IPV4, 0};
  FtpAddress loopback6 = {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 0, FTP_IPV6, 0};
  EXPECT_EQ(FtpCertificateAddressMatches(v4, 4, &loopback4), 1);
  EXPECT_EQ(FtpCertificateAddressMatches(v6, 16, &loopback6), 1);
  EXPECT_EQ(FtpCertificateAddressMatches(v6, 16, &loopback4), 0);
  EXPECT_EQ(FtpCertificateAddressMatches(mapped, 16, &loopback4), 0);
  EXPECT_EQ(FtpCertificateAddressMatches(v4, 4, &loopback6), 0);
  EXPECT_EQ(FtpCertificateAddressMatches(v6, 15, &loopback6), 0);   // a length of neither family
  EXPECT_EQ(FtpCertificateAddressMatches(v6, 0, &loopback6), 0);
  // An address whose zone differs is the same address.
  loopback6.scope = 3;
  EXPECT_EQ(FtpCertificateAddressMatches(v6, 16, &loopback6), 1);
}

}  // namespace
