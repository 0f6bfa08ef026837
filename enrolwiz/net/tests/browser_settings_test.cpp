// The browser-settings readers on the texts the browsers write: "ProxyServer"
// values, prefs.js files and auto-configuration scripts (files in data/).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "framework/file.h"
#include "net/browser_settings.h"
#include "framework/tests/test_registry.h"

namespace {

struct Split {
  const char* value;
  const char* proxyHost;
  const char* proxyPort;
  const char* socksHost;
  const char* socksPort;
};

ConnectionSettings prefsFile(const char* name)
{
  ConnectionSettings settings;
  CStdioFile file;
  EXPECT_TRUE(file.Open(testDataFile(WZ_TEST_DATA, name).c_str(), CFile::modeRead | CFile::typeText));
  collectPrefs(file, settings);
  file.Close();
  return settings;
}

CString script(const char* name)
{
  std::ifstream file(testDataFile(WZ_TEST_DATA, name), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return CString(text.str().c_str());
}

}  // namespace

TEST(BrowserSettings, StripScheme)
{
  EXPECT_EQ(stripScheme("http://proxy:8080"), "proxy:8080");
  EXPECT_EQ(stripScheme("HtTp://proxy"), "proxy");
  EXPECT_EQ(stripScheme("http:\\\\proxy"), "proxy");
  EXPECT_EQ(stripScheme("http://"), "");
  EXPECT_EQ(stripScheme("http:/x"), "http:/x");
  EXPECT_EQ(stripScheme("https://proxy"), "https://proxy");
  EXPECT_EQ(stripScheme("ftp://proxy"), "ftp://proxy");
  EXPECT_EQ(stripScheme("proxy http://x"), "proxy http://x");
  EXPECT_EQ(stripScheme("http:"), "http:");
}

TEST(BrowserSettings, ProxyServerValues)
{
  const Split cases[] = {
      {"myproxy:8080", "myproxy", "8080", "", ""},
      {"http=p1:81;socks=s1", "p1", "81", "s1", "1080"},
      {"http://p1:81", "p1", "81", "", ""},
      {"ftp=f1:21", "", "", "", ""},
      {"p1", "p1", "80", "", ""},
      {"p1:", "p1", "", "", ""},
      {"a;b:3", "a;b", "3", "", ""},            // one server for all: ";" means nothing
      {"HTTP=http://p2:82;ftp=f:21", "p2", "82", "", ""},
      {"ftp=f:21;https=h:443;http=p3", "p3", "80", "", ""},
      {"socks=http://s2:1081;gopher=g:70", "", "", "s2", "1081"},
      {"Socks=s3:1082;Http=p4:84", "p4", "84", "s3", "1082"},
  };
  for (const Split& c : cases) {
    ConnectionSettings settings;
    splitProxyServer(c.value, settings);
    EXPECT_EQ(settings.proxyHost, c.proxyHost) << c.value;
    EXPECT_EQ(settings.proxyPort, c.proxyPort) << c.value;
    EXPECT_EQ(settings.socksHost, c.socksHost) << c.value;
    EXPECT_EQ(settings.socksPort, c.socksPort) << c.value;
  }
  // An empty value and the entries it lacks leave what is there.
  ConnectionSettings settings;
  settings.proxyHost = "kept";
  settings.socksHost = "kept too";
  splitProxyServer("", settings);
  splitProxyServer("ftp=f1:21", settings);
  EXPECT_EQ(settings.proxyHost, "kept");
  EXPECT_EQ(settings.socksHost, "kept too");
  splitProxyServer("myproxy:8080", settings);
  EXPECT_EQ(settings.socksHost, "kept too");
}

// The proxy that a browser names for secure connections alone: the https
// entry of Internet Explorer's list and Netscape's SSL proxy; with one
// server for every protocol there is none of its own.
TEST(BrowserSettings, ProxiesForSecureConnections)
{
  auto proxies = [](const ConnectionSettings& s) {
    return std::string(s.proxyHost) + ":" + std::string(s.proxyPort) + " https " + std::string(s.secureProxyHost) +
           ":" + std::string(s.secureProxyPort);
  };
  const char* const values[][2] = {
      {"ftp=f:21;https=h:443;http=p3", "p3:80 https h:443"},
      {"HTTPS=http://h2;http=p3:81", "p3:81 https h2:80"},
      {"https=h3:8443", ": https h3:8443"},
      {"myproxy:8080", "myproxy:8080 https :"},
      {"http=p1:81;socks=s1", "p1:81 https :"},
  };
  for (const auto& value : values) {
    ConnectionSettings settings;
    splitProxyServer(value[0], settings);
    EXPECT_EQ(proxies(settings), value[1]) << value[0];
  }
  ConnectionSettings prefs = prefsFile("prefs/secure_proxy.js");
  EXPECT_EQ(proxies(prefs), "proxy.example.com:3128 https secure.example.com:8443");
  EXPECT_EQ(prefs.netscapeProxyType, "1");
  EXPECT_EQ(prefsFile("prefs/host_first.js").secureProxyHost, "");
}

TEST(BrowserSettings, PrefsValueOfOneLine)
{
  EXPECT_EQ(prefsValue("user_pref(\"network.proxy.http\", \"proxy.example.com\");", "network.proxy.http"),
            "proxy.example.com");
  EXPECT_EQ(prefsValue("user_pref(\"network.proxy.type\", 1);", "network.proxy.type"), "1");
  EXPECT_EQ(prefsValue("USER_PREF(\"NETWORK.PROXY.TYPE\", 2);", "network.proxy.type"), "2");
  EXPECT_EQ(prefsValue("user_pref(\"network.proxy.autoconfig_url\", \"http://c.example.com/p.pac\");",
                       "network.proxy.autoconfig_url"),
            "c.example.com/p.pac");
  EXPECT_EQ(prefsValue("user_pref(\"network.proxy.http\" \"p\");", "network.proxy.http"), "");
  EXPECT_EQ(prefsValue("user_pref(\"network.proxy.ftp\", \"f\");", "network.proxy.http"), "");
  EXPECT_EQ(prefsValue("user_pref(\"network.proxy.http\", \"\");", "network.proxy.http"), "");
  // Values lose their own commas, quotes, blanks, ")" and ";".
  EXPECT_EQ(prefsValue("user_pref(\"network.proxy.http\", \"a, b;c)\");", "network.proxy.http"), "abc");
}

TEST(BrowserSettings, PrefsFilesInEitherOrder)
{
  ConnectionSettings portFirst = prefsFile("prefs/port_first.js");   // CR LF line ends
  EXPECT_EQ(portFirst.proxyHost, "proxy.example.com");
  EXPECT_EQ(portFirst.proxyPort, "8080");
  EXPECT_EQ(portFirst.netscapeProxyType, "1");
  EXPECT_EQ(portFirst.socksHost, "");
  EXPECT_EQ(portFirst.autoConfigUrl, "");

  ConnectionSettings hostFirst = prefsFile("prefs/host_first.js");
  EXPECT_EQ(hostFirst.proxyHost, "proxy.example.com");
  EXPECT_EQ(hostFirst.proxyPort, "3128");
  EXPECT_EQ(hostFirst.socksHost, "socks.example.com");
  EXPECT_EQ(hostFirst.socksPort, "1081");
  EXPECT_EQ(hostFirst.autoConfigUrl, "config.example.com/proxy.pac");
  EXPECT_EQ(hostFirst.netscapeProxyType, "2");
}

TEST(BrowserSettings, PrefsLinesAreSearchedNotParsed)
{
  // A comment that names a key and holds a comma counts; a later line wins; a
  // line without a value changes nothing.
  ConnectionSettings settings = prefsFile("prefs/comments.js");
  EXPECT_EQ(settings.proxyHost, "second.example.com");
  EXPECT_EQ(settings.netscapeProxyType, "seethemanual*/");
  EXPECT_EQ(settings.proxyPort, "");
}

TEST(BrowserSettings, AutoConfigScripts)
{
  ConnectionSettings direct;
  EXPECT_EQ(readAutoConfigScript(script("scripts/direct.pac"), direct), connectionDirect);
  EXPECT_EQ(direct.proxyHost, "");

  ConnectionSettings proxy;
  EXPECT_EQ(readAutoConfigScript(script("scripts/proxy_then_direct.pac"), proxy), connectionProxy);
  EXPECT_EQ(proxy.proxyHost, "p");
  EXPECT_EQ(proxy.proxyPort, "8080;DIRECT");
  EXPECT_EQ(atoiText(proxy.proxyPort), 8080);

  ConnectionSettings none;
  EXPECT_EQ(readAutoConfigScript(script("scripts/no_return.pac"), none), connectionUndetermined);
  EXPECT_EQ(none.proxyHost, "");
  ConnectionSettings capitalised;
  EXPECT_EQ(readAutoConfigScript(script("scripts/capitalised.pac"), capitalised), connectionUndetermined);

  // The last PROXY or SOCKS entry decides; both servers are kept.
  ConnectionSettings both;
  EXPECT_EQ(readAutoConfigScript(script("scripts/socks_then_proxy.pac"), both), connectionProxy);
  EXPECT_EQ(both.socksHost, "socks.example.com");
  EXPECT_EQ(both.socksPort, "1080");
  EXPECT_EQ(both.proxyHost, "proxy.example.com");
  EXPECT_EQ(both.proxyPort, "3128");

  ConnectionSettings upper;
  EXPECT_EQ(readAutoConfigScript(script("scripts/upper_case.pac"), upper), connectionSocks);
  EXPECT_EQ(upper.socksHost, "s1");
  EXPECT_EQ(upper.socksPort, "1090");

  // A double quote anywhere after a "return" is taken before a nearer single
  // quote, so the single-quoted SOCKS entry here is never read.
  ConnectionSettings mixed;
  EXPECT_EQ(readAutoConfigScript(script("scripts/mixed_quotes.pac"), mixed), connectionProxy);
  EXPECT_EQ(mixed.socksHost, "");
  EXPECT_EQ(mixed.proxyHost, "proxy.example.com");
}

TEST(BrowserSettings, AutoConfigReturnTexts)
{
  struct Case {
    const char* script;
    int type;
    const char* proxyHost;
    const char* proxyPort;
    const char* socksHost;
    const char* socksPort;
  } cases[] = {
      {"", connectionUndetermined, "", "", "", ""},
      {"return \"direct\"", connectionDirect, "", "", "", ""},
      {"return \"SOCKS s:\"", connectionSocks, "", "", "s", "1080"},
      {"return \"socks   s : 1 0 8 1 \"", connectionSocks, "", "", "s", "1081"},
      {"return \"PROXY p\"; return \"DIRECT\"", connectionProxy, "p", "80", "", ""},
      {"return \"DIRECT\"; return \"PROXY p:1\"", connectionProxy, "p", "1", "", ""},
      {"return \"HTTPS p:443\"", connectionProxy, "p", "443", "", ""},
      {"return \"PROXY\"", connectionUndetermined, "", "", "", ""},
      {"return PROXY p:1", connectionUndetermined, "", "", "", ""},
      // "return" is looked for before "RETURN", wherever each is.
      {"RETURN \"PROXY p:2\" return \"PROXY q:3\"", connectionProxy, "q", "3", "", ""},
      {"return \"PROXY p:2\"; RETURN \"SOCKS s:3\"", connectionSocks, "p", "2", "s", "3"},
      {"return \"PROXY p:4", connectionUndetermined, "", "", "", ""},
  };
  for (const Case& c : cases) {
    ConnectionSettings settings;
    EXPECT_EQ(readAutoConfigScript(c.script, settings), c.type) << c.script;
    EXPECT_EQ(settings.proxyHost, c.proxyHost) << c.script;
    EXPECT_EQ(settings.proxyPort, c.proxyPort) << c.script;
    EXPECT_EQ(settings.socksHost, c.socksHost) << c.script;
    EXPECT_EQ(settings.socksPort, c.socksPort) << c.script;
  }
}

TEST(BrowserSettings, LongScriptsAreReadInOnePass)
{
  // 100,000 upper-case returns with single quotes: looking again for the
  // preferred spellings at each one would scan the rest of the script each time.
  std::string text;
  for (int i = 0; i < 100000; i++)
    text += "RETURN 'PROXY p:1'; ";
  text += "RETURN 'SOCKS s:2';";
  ConnectionSettings settings;
  EXPECT_EQ(readAutoConfigScript(text.c_str(), settings), connectionSocks);
  EXPECT_EQ(settings.proxyHost, "p");
  EXPECT_EQ(settings.socksPort, "2");
}
