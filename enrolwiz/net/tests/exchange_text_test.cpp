// The texts of an exchange: target split, request line, response classes,
// both redirection rules, the auto-configuration URL and the SOCKS request.
#include <gtest/gtest.h>

#include <string>

#include "net/connection_settings.h"
#include "net/exchange_text.h"
#include "net/socks_request.h"

namespace {

const CString gateway = gatewayPath;

ExchangeTarget target(const char* host, const char* port, const char* prefix)
{
  return ExchangeTarget{host, port, prefix, gateway + "a=1&b=%20"};
}

std::string parts(const ExchangeTarget& t)
{
  return std::string(t.host) + "|" + std::string(t.portText) + "|" + std::string(t.pathPrefix);
}

std::string location(const std::string& response, ExchangeTarget t = target("old", "81", "/old"))
{
  if (!redirectByLocation(response.c_str(), gateway, t))
    return "bad";
  return parts(t);
}

std::string link(const std::string& response, ExchangeTarget t = target("old", "81", "/old"))
{
  if (!redirectByLink(response.c_str(), gateway, t))
    return "bad";
  return parts(t);
}

const std::string gw = gatewayPath;

}  // namespace

TEST(ExchangeText, FirstTargetFromTheTargetText)
{
  struct {
    const char* text;
    const char* parts;
  } rows[] = {
      {"reg.example", "reg.example|80|"},
      {"reg.example:8081", "reg.example|8081|"},
      {"reg.example/software/prodreg/register", "reg.example|80|/software/prodreg/register"},
      {"10.0.0.1:8081/a:b/c", "10.0.0.1|8081|/a:b/c"},
      {"host:", "host||"},
      {"", "|80|"},
      // An https target: its scheme in any case, port 443 unless named.
      {"https://reg.example/software/prodreg/register", "https reg.example|443|/software/prodreg/register"},
      {"HTTPS://reg.example:8443", "https reg.example|8443|"},
      {"https://reg.example:", "https reg.example||"},
      {"https://", "https |443|"},
      // No other scheme is one of a target text's.
      {"http://reg.example", "http||//reg.example"},
  };
  for (const auto& row : rows) {
    ExchangeTarget t = firstExchangeTarget(row.text, gateway + "q=1");
    EXPECT_EQ((t.secure ? "https " : "") + parts(t), row.parts) << row.text;
    EXPECT_EQ(std::string(t.gatewayText), gw + "q=1");
  }
}

TEST(ExchangeText, RequestLineByConnectionType)
{
  ExchangeTarget t = target("reg.example", "8081", "/x");
  // Directly and through SOCKS: the simple request, byte for byte.
  EXPECT_EQ(std::string(requestLine(connectionDirect, t)), "GET /x" + gw + "a=1&b=%20\n");
  EXPECT_EQ(std::string(requestLine(connectionSocks, t)), "GET /x" + gw + "a=1&b=%20\n");
  // Through a proxy: a full HTTP/1.0 request; a port other than 80 in the
  // URI and in Host, as the number a connection would take.
  struct {
    ExchangeTarget target;
    std::string request;
  } rows[] = {
      {t, "GET http://reg.example:8081/x" + gw + "a=1&b=%20 HTTP/1.0\r\nHost: reg.example:8081\r\n\r\n"},
      {target("h", "80", ""), "GET http://h" + gw + "a=1&b=%20 HTTP/1.0\r\nHost: h\r\n\r\n"},
      {target("h", "080", ""), "GET http://h" + gw + "a=1&b=%20 HTTP/1.0\r\nHost: h\r\n\r\n"},
      {target("127.0.0.1", "8080;DIRECT", "/p"),
       "GET http://127.0.0.1:8080/p" + gw + "a=1&b=%20 HTTP/1.0\r\nHost: 127.0.0.1:8080\r\n\r\n"},
      {target("h", "65616", ""), "GET http://h" + gw + "a=1&b=%20 HTTP/1.0\r\nHost: h\r\n\r\n"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(std::string(requestLine(connectionProxy, row.target)), row.request) << parts(row.target);
}

TEST(ExchangeText, ResponseClassesInTheirOrder)
{
  struct {
    const char* response;
    ResponseClass kind;
  } rows[] = {
      {"HTTP/1.0 200 OK\r\n\r\nRESULT1=SUCCESS\r\n", responseConfirmed},
      {"result1=success", responseConfirmed},
      {"Result1=Success&more", responseConfirmed},
      {"RESULT1=FAILURE", responseNotConfirmed},
      {"RESULT1 = SUCCESS", responseNotConfirmed},
      {"", responseNotConfirmed},
      {"RESULT1=SUCCESS <a hReF=x>", responseLink},
      {"href first\r\nLocation: x", responseLocation},
      {"LOCATION without colon, HREF", responseLink},
      // Only the header is a location: not "Content-Location:", nor the word in a text.
      {"HTTP/1.0 200 OK\r\nContent-Location: /x\r\n\r\nRESULT1=SUCCESS", responseConfirmed},
      {"RESULT1=SUCCESS, location: home", responseConfirmed},
      // A proxy's or server's own error ends the post whatever its page holds.
      {"HTTP/1.0 407 Proxy Authentication Required\r\n\r\n<a href=\"/x\">", responseRefused},
      {"HTTP/1.1 403 Forbidden\r\nLocation: http://h/\r\n\r\nRESULT1=SUCCESS", responseRefused},
      {"HTTP/1.1 502", responseRefused},
      {"http/1.0  504 Gateway Timeout\n", responseRefused},
      {"HTTP/1.0 500\tServer Error\r\n", responseRefused},
      // Other statuses, and error-like texts that are no status line: classified
      // by location, link and success marker like any other response.
      {"HTTP/1.1 302 Found\r\nLocation: http://h/x\r\n", responseLocation},
      {"HTTP/1.0 399 Odd\r\n\r\nRESULT1=SUCCESS", responseConfirmed},
      {"HTTP/1.0 600 Odd\r\n\r\nRESULT1=SUCCESS", responseConfirmed},
      {"HTTP/2 404 Not Found\r\n\r\nRESULT1=SUCCESS", responseConfirmed},
      {"HTTP/1.0 4044 Odd\r\n\r\nRESULT1=SUCCESS", responseConfirmed},
      {"HTTP/1.0 40 Odd\r\n\r\nRESULT1=SUCCESS", responseConfirmed},
      {"HTTP/1.0404 Odd\r\n\r\nRESULT1=SUCCESS", responseConfirmed},
      {"\r\nHTTP/1.0 404 Not Found\r\n\r\nRESULT1=SUCCESS", responseConfirmed},
      {"<p>HTTP/1.0 404 Not Found</p><a href=x>", responseLink},
  };
  for (const auto& row : rows)
    EXPECT_EQ(classifyResponse(row.response), row.kind) << row.response;
}

TEST(ExchangeText, ShownStatusLine)
{
  EXPECT_EQ(std::string(shownStatusLine("HTTP/1.0 407 Proxy Authentication Required\r\nServer: x\r\n")),
            "HTTP/1.0 407 Proxy Authentication Required");
  EXPECT_EQ(std::string(shownStatusLine("HTTP/1.1 502 Bad\x01Gate\tway\nrest")), "HTTP/1.1 502 Bad Gate way");
  EXPECT_EQ(std::string(shownStatusLine("HTTP/1.1 503")), "HTTP/1.1 503");
  std::string longLine = "HTTP/1.1 500 " + std::string(500, 'x') + "\r\n";
  EXPECT_EQ(std::string(shownStatusLine(longLine.c_str())), longLine.substr(0, shownStatusLineLength));
}

TEST(ExchangeText, RedirectionByLocation)
{
  struct {
    std::string response;
    const char* parts;
  } rows[] = {
      // Host, port and prefix; the redirection's own query is dropped.
      {"HTTP/1.0 302 Found\r\nLocation: http://H:8081/x" + gw + "own=query\r\n\r\n", "H|8081|/x"},
      // Without a port the previous one stays; the scheme and key in any case.
      {"location: HTTP://h2/y/z" + gw, "h2|81|/y/z"},
      {"LOCATION:http://h2" + gw, "h2|81|"},
      // A prefix of exactly "/" is none; an empty port is 80.
      {"Location: http://h3//scripts/mwisapi.dll/service.gateway.doget?", "h3|81|"},
      {"Location: http://h3:/" + gw, "h3|80|"},
      {"Location: http://h4:9/" + gw, "h4|9|"},
      // On the same server: host and port stay.
      {"Location: /again" + gw, "old|81|/again"},
      {"Location: \t/x" + gw, "old|81|/x"},
      // The host comes from the value itself, never from later in the response.
      {"Location: h9:82/r" + gw + "\r\n\r\n<a href=\"http://h6/y" + gw + "\">", "h9|82|/r"},
      {"Location: //h10/r" + gw, "h10|81|/r"},
      {"Content-Location: http://h5/c" + gw + "\r\nLocation: http://h11/l" + gw, "h11|81|/l"},
      {"Location: ftp://h5/x" + gw + "\r\n<a href=\"http://h6/y" + gw + "\">", "bad"},
      // The value ends with its line: what follows cannot become the next request.
      {"Location: http://h7/a\r\nX-Other: b" + gw, "bad"},
      {"Location: http://h7/a b" + gw, "bad"},
      {"Location: http://h7 h/a" + gw, "bad"},
      {"Location: http://h7/a\tb" + gw, "bad"},
      {"Location: http:///a" + gw, "bad"},
      {"Location: http://:90/a" + gw, "bad"},
      {"Location:  \r\n/a" + gw, "bad"},
      // No gateway path, or no path at all: bad redirection data.
      {"Location: http://h8/elsewhere\r\n", "bad"},
      {"Location: http://h8", "bad"},
      {"Location:", "bad"},
      {"no location here", "bad"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(location(row.response), row.parts) << row.response;
}

TEST(ExchangeText, RedirectionByLink)
{
  struct {
    std::string response;
    const char* parts;
  } rows[] = {
      {"<a href=\"http://H:8081/w" + gw + "page=2\">go</a>", "H|8081|/w"},
      {"<A HREF=http://h2/v" + gw + "page=2>go</A>", "h2|81|/v"},
      {"<a href=\"HTTP://h3" + gw + "\">", "h3|81|"},
      {"<a href=\"http://h3/" + gw + "\">", "h3|81|"},
      // The first link without the gateway path is passed over.
      {"<a href=\"/help.html\">Help</a> <a href=\"http://127.0.0.2:90" + gw + "\">Go</a>", "127.0.0.2|90|"},
      // A link without a host stays on the same host and port.
      {"<a href=\"/r" + gw + "\">", "old|81|/r"},
      {"<a href=\"" + gw + "\">", "old|81|"},
      // A quoted link is only the text between the quotes.
      {"<a href=\"/help.html\">" + gw, "bad"},
      {"<a href=\"http://h/x\">Home</a> <a href=\"/other\">Other</a>", "bad"},
      // Without quotes the link runs on; a quote later takes over.
      {"<a href=http://h4/v" + gw + "> <img src=\"a.gif\">", "bad"},
      {"href", "bad"},
      {"", "bad"},
      // Blanks and line ends cannot reach the next request line.
      {"<a href=\"http://h5 x/v" + gw + "\">", "bad"},
      {"<a href=\"/v\r\nX-Other: y" + gw + "\">", "bad"},
      {"<a href=http://h5/v\r\n" + gw, "bad"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(link(row.response), row.parts) << row.response;
}

// https targets: the scheme and its port, the request inside TLS, the
// tunnel through a proxy, and the redirections that may and may not change
// the scheme.
namespace {

std::string schemeAndParts(const ExchangeTarget& t)
{
  return (t.secure ? "https|" : "http|") + parts(t);
}

ExchangeTarget secureTarget(const char* host, const char* port, const char* prefix)
{
  ExchangeTarget t = target(host, port, prefix);
  t.secure = true;
  return t;
}

}  // namespace

TEST(ExchangeText, SecureRequestsAndTunnels)
{
  // Inside TLS the server is addressed itself, however the bytes travel;
  // its port is written when it is not 443.
  const std::string path = gw + "a=1&b=%20";
  for (int type : {connectionDirect, connectionSocks, connectionProxy}) {
    EXPECT_EQ(std::string(requestLine(type, secureTarget("reg.example", "443", "/x"))),
              "GET /x" + path + " HTTP/1.0\r\nHost: reg.example\r\n\r\n");
    EXPECT_EQ(std::string(requestLine(type, secureTarget("127.0.0.1", "8443", ""))),
              "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1:8443\r\n\r\n");
  }
  EXPECT_EQ(std::string(tunnelRequest(secureTarget("reg.example", "443", "/x"))),
            "CONNECT reg.example:443 HTTP/1.0\r\nHost: reg.example:443\r\n\r\n");
  EXPECT_EQ(std::string(tunnelRequest(secureTarget("h", "8443;x", ""))), "CONNECT h:8443 HTTP/1.0\r\nHost: h:8443\r\n\r\n");
}

TEST(ExchangeText, TunnelAnswers)
{
  struct {
    const char* answer;
    bool complete;
    bool established;
  } rows[] = {
      {"HTTP/1.1 200 Connection established\r\n\r\n", true, true},
      {"HTTP/1.0 200 OK\r\nProxy-Agent: p\r\n\r\n", true, true},
      {"http/1.0 200\n\n", true, true},
      {"HTTP/1.1 200 Connection established\r\n", false, false},
      {"", false, false},
      // A refusal, however it is dressed, is no tunnel.
      {"HTTP/1.1 403 Forbidden\r\nContent-Length: 3\r\n\r\nno!", true, false},
      {"HTTP/1.0 407 Proxy Authentication Required\r\n\r\n", true, false},
      {"HTTP/1.1 201 Created\r\n\r\n", true, false},
      {"HTTP/1.1 2000 Odd\r\n\r\n", true, false},
      {"<html>200</html>\r\n\r\n", true, false},
      // Bytes after the head are no proxy's answer to CONNECT.
      {"HTTP/1.1 200 OK\r\n\r\nHTTP/1.0 200 OK", true, false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(tunnelAnswerComplete(row.answer), row.complete) << row.answer;
    EXPECT_EQ(tunnelEstablished(row.answer), row.established) << row.answer;
  }
}

TEST(ExchangeText, RedirectionsBetweenSchemes)
{
  struct {
    std::string response;
    bool fromSecure;
    const char* parts;
  } rows[] = {
      // From http up to https: on 443 unless a port is named.
      {"HTTP/1.1 301 Moved Permanently\r\nLocation: https://h/x" + gw + "\r\n\r\n", false, "https|h|443|/x"},
      {"Location: HTTPS://h:8443" + gw, false, "https|h|8443|"},
      {"Location: https://h:/" + gw, false, "https|h|443|"},
      {"<a href=\"https://h/w" + gw + "\">", false, "https|h|443|/w"},
      // The first scheme in a link is the link's.
      {"<a href=\"http://h/w?next=https://k/v" + gw + "\">", false, "http|h|81|/w?next=https://k/v"},
      {"<a href=\"https://h/w?next=http://k/v" + gw + "\">", false, "https|h|443|/w?next=http://k/v"},
      // Within https: a host without a port is on 443; without a host or a
      // scheme the exchange stays on https.
      {"Location: https://h2/y" + gw, true, "https|h2|443|/y"},
      {"Location: //h3/y" + gw, true, "https|h3|443|/y"},
      {"Location: h4:9443/y" + gw, true, "https|h4|9443|/y"},
      {"Location: /again" + gw, true, "https|old|81|/again"},
      {"<a href=\"/r" + gw + "\">", true, "https|old|81|/r"},
      {"<a href=\"h5/r" + gw + "\">", true, "https|h5|443|/r"},
      // Never from https down to http.
      {"Location: http://h6/y" + gw, true, "bad"},
      {"Location: HTTP://h6:443/y" + gw, true, "bad"},
      {"<a href=\"http://h6/r" + gw + "\">", true, "bad"},
      // https to no host at all is no redirection.
      {"Location: https:///y" + gw, false, "bad"},
      {"<a href=\"https:///r" + gw + "\">", false, "bad"},
      {"Location: https://h7 h/y" + gw, false, "bad"},
  };
  for (const auto& row : rows) {
    ExchangeTarget t = row.fromSecure ? secureTarget("old", "81", "/old") : target("old", "81", "/old");
    ExchangeTarget before = t;
    bool followed = row.response.find("Location") != std::string::npos
                        ? redirectByLocation(row.response.c_str(), gateway, t)
                        : redirectByLink(row.response.c_str(), gateway, t);
    EXPECT_EQ(followed ? schemeAndParts(t) : "bad", row.parts) << row.response;
    if (!followed) {
      EXPECT_EQ(schemeAndParts(t), schemeAndParts(before)) << row.response;
    }
  }
}

TEST(ExchangeText, RedirectionsSearchTheGatewayGiven)
{
  ExchangeTarget t = target("old", "81", "");
  EXPECT_TRUE(redirectByLocation("Location: http://h/p/gw?q", "/GW?", t));
  EXPECT_EQ(parts(t), "h|81|/p");
  EXPECT_FALSE(redirectByLink("<a href=\"http://h/p/gw?q\">", "", t));
  EXPECT_EQ(parts(t), "h|81|/p");
}

// A long page with many links costs one pass, not one per link.
TEST(ExchangeText, ManyLinksAreSearchedOnce)
{
  std::string many;
  for (int i = 0; i < 200000; ++i)
    many += "<a href=x>";
  EXPECT_EQ(link(many + "\"quoted\" <a href=\"http://h/z" + gw + "\">"), "h|81|/z");
  EXPECT_EQ(link(many), "bad");
  std::string quoted = "\"";
  for (int i = 0; i < 200000; ++i)
    quoted += "HREF ";
  EXPECT_EQ(link(quoted + std::string(100000, 'x') + "\""), "bad");
}

TEST(ExchangeText, AutoConfigurationUrl)
{
  struct {
    const char* url;
    const char* parts;
  } rows[] = {
      {"http://pac.example:8080/proxy.pac", "pac.example|8080|/proxy.pac"},
      {"pac.example/dir/proxy.pac", "pac.example|80|/dir/proxy.pac"},
      {"HTTP:\\\\pac.example:81/p", "pac.example|81|/p"},
      {"http://pac.example", "pac.example|80|/"},
      {"pac.example:", "pac.example|80|/"},
  };
  for (const auto& row : rows) {
    AutoConfigLocation where = splitAutoConfigUrl(row.url);
    EXPECT_EQ(std::string(where.host) + "|" + std::string(where.portText) + "|" + std::string(where.path), row.parts)
        << row.url;
  }
}

TEST(SocksRequest, BytesOnTheWire)
{
  SocksRequest request = socksConnectRequest(8080, Ipv4Address{{127, 0, 0, 1}});
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(request.bytes), 8), std::string("\x04\x01\x1F\x90\x7F\x00\x00\x01", 8));
  EXPECT_EQ(std::string(socksUserId), "Pondel");
  EXPECT_EQ(socksUserId[6], '\0');
  EXPECT_EQ(socksUserId[7], '\0');

  unsigned char granted[8] = {0, 0x5A};
  unsigned char refused[8] = {0, 0x5B};
  unsigned char nothing[8] = {0};
  unsigned char wrongByte[8] = {0x5A, 0};
  EXPECT_TRUE(socksReplyGranted(granted));
  EXPECT_FALSE(socksReplyGranted(refused));
  EXPECT_FALSE(socksReplyGranted(nothing));
  EXPECT_FALSE(socksReplyGranted(wrongByte));
}
