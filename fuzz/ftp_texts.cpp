// Fuzz target of the engine's parsers of short texts from outside: the PASV
// address (a 227 reply's text), the EPSV port (a 229 reply's text), the host
// text of a login (a REXX argument) with its IPv6 literals, the quoted
// directory of a PWD reply, a certificate's DNS name against a host and its
// encoded alternative names, each checked for what it promises; IPv6
// literals against the C library's own reader where there is one.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#ifndef _WIN32
#include <arpa/inet.h>
#endif

#include <string>

#include "ftp/parse.h"

static std::string lowered(std::string text)
{
  for (char &c : text)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return text;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  char text[512];
  size_t length = size < sizeof text - 1 ? size : sizeof text - 1;
  memcpy(text, data, length);
  text[length] = '\0';

  // An accepted PASV text gives an address that its own plain form gives again.
  FtpAddress address;
  if (FtpParsePasv(text, &address) == 0) {
    char plain[64];
    snprintf(plain, sizeof plain, "(%u,%u,%u,%u,%u,%u)", address.ip[0], address.ip[1], address.ip[2], address.ip[3],
             address.port >> 8, address.port & 0xff);
    FtpAddress again;
    if (FtpParsePasv(plain, &again) != 0 || memcmp(&again.ip, &address.ip, 4) != 0 || again.port != address.port)
      __builtin_trap();
  }

  // An accepted EPSV text gives a port of 1 to 65535 that its own plain form
  // gives again.
  unsigned short epsvPort = 0;
  if (FtpParseEpsv(text, &epsvPort) == 0) {
    char plain[32];
    snprintf(plain, sizeof plain, "(|||%u|)", epsvPort);
    unsigned short again = 0;
    if (epsvPort == 0 || FtpParseEpsv(plain, &again) != 0 || again != epsvPort)
      __builtin_trap();
  }

  // An IPv6 literal: what the C library reads too (the zone apart), and its
  // text gives the same bytes again.
  unsigned char bytes[16];
  const char *zone = NULL;
  int literal = FtpParseIpv6(text, bytes, &zone) == 0;
  if (literal) {
    FtpAddress address;
    memset(&address, 0, sizeof address);
    address.family = FTP_IPV6;
    memcpy(address.ip, bytes, 16);
    char canonical[FTP_ADDRESS_TEXT_SIZE];
    FtpAddressText(&address, canonical, sizeof canonical);
    unsigned char again[16];
    const char *noZone;
    if (FtpParseIpv6(canonical, again, &noZone) != 0 || memcmp(again, bytes, 16) != 0 || noZone != NULL)
      __builtin_trap();
    if (zone && (zone[0] == '\0' || strchr(zone, '%') || strchr(zone, ' ')))
      __builtin_trap();
  }
#ifndef _WIN32
  {
    std::string address(text, strcspn(text, "%"));
    unsigned char system[16];
    int systemReads = inet_pton(AF_INET6, address.c_str(), system) == 1;
    int zoneGood = strchr(text, '%') == NULL || (literal && zone != NULL);
    if (zoneGood && systemReads != literal)
      __builtin_trap();
    if (literal && systemReads && memcmp(system, bytes, 16) != 0)
      __builtin_trap();
  }
#endif

  // The host part has no blank and fits; a blank means a port; a refused
  // text is one whose port number is above 65535. Brackets hold an IPv6
  // address and nothing else; a blank or a colon after them brings a port.
  static const size_t sizes[] = {1, 8, 256};
  for (size_t hostSize : sizes) {
    char host[256];
    memset(host, 'X', sizeof host);
    unsigned short port = 7;
    int hasPort = -1;
    int rc = FtpParseHostText(text, host, hostSize, &port, &hasPort);
    if (strnlen(host, hostSize) >= hostSize || strchr(host, ' ') != NULL)
      __builtin_trap();
    if (text[0] == '[') {
      const char *close = strchr(text, ']');
      if (rc == FTP_HOST_TEXT_MALFORMED) {
        if (host[0] != '\0' || hasPort != 0)
          __builtin_trap();
        continue;
      }
      std::string inside(text + 1, close ? static_cast<size_t>(close - text - 1) : 0);
      unsigned char insideBytes[16];
      const char *insideZone;
      if (close == NULL || FtpParseIpv6(inside.c_str(), insideBytes, &insideZone) != 0 ||
          strncmp(host, inside.c_str(), strlen(host)) != 0 || hasPort != (close[1] == ' ' || close[1] == ':') ||
          (rc != 0 && !hasPort))
        __builtin_trap();
      continue;
    }
    int blank = memchr(text, ' ', strnlen(text, hostSize - 1)) != NULL;
    if (hasPort != blank || (rc != 0 && !hasPort))
      __builtin_trap();
  }

  // The quoted name has no quote, fits, and is what the text holds there.
  char out[16];
  memset(out, 'X', sizeof out);
  if (FtpQuotedText(text, out, sizeof out) == 0) {
    const char *open = strchr(text, '"');
    if (strnlen(out, sizeof out) >= sizeof out || strchr(out, '"') != NULL ||
        strncmp(open + 1, out, strlen(out)) != 0)
      __builtin_trap();
  }

  // A certificate name (before the first line feed) names the host (after
  // it) only as the same text in any case, or as "*." and two labels or
  // more for one label of the host.
  const char *feed = strchr(text, '\n');
  if (feed) {
    std::string given(text, static_cast<size_t>(feed - text));
    int named = FtpCertificateNameMatches(given.c_str(), feed + 1);
    std::string pattern = lowered(given), host = lowered(feed + 1);
    size_t dot = host.find('.');
    bool exact = !pattern.empty() && pattern.find('*') == std::string::npos && pattern == host;
    bool wildcard = pattern.size() > 2 && pattern.compare(0, 2, "*.") == 0 &&
                    pattern.find('*', 1) == std::string::npos && pattern.find('.', 2) != std::string::npos &&
                    dot != std::string::npos && dot > 0 && host.substr(dot) == pattern.substr(1);
    if (named != (exact || wildcard))
      __builtin_trap();
  }

  // A certificate's alternative names, read from the bytes as encoded:
  // every name lies within them, and one holding a NUL names no host.
  FtpAltNameReader reader;
  if (FtpAltNamesOpen(&reader, data, size) == 0) {
    FtpAltName name;
    while (FtpAltNamesNext(&reader, &name) > 0) {
      if (name.bytes < data || name.length > size || name.bytes + name.length > data + size)
        __builtin_trap();
      if (memchr(name.bytes, 0, name.length) != NULL && name.length > 0) {
        const char *text = reinterpret_cast<const char *>(name.bytes);
        std::string host(text, strnlen(text, name.length));
        if (FtpCertificateDnsNameMatches(name.bytes, name.length, host.c_str()))
          __builtin_trap();
      }
    }
  }
  return 0;
}
