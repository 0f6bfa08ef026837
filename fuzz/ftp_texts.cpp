// Fuzz target of the engine's parsers of short texts from outside: the PASV
// address (a 227 reply's text), the host text of a login (a REXX argument)
// and the quoted directory of a PWD reply, each checked for what it promises.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "ftp/parse.h"

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

  // The host part has no blank and fits; a blank means a port; a refused
  // text is one whose port number is above 65535.
  static const size_t sizes[] = {1, 8, 256};
  for (size_t hostSize : sizes) {
    char host[256];
    memset(host, 'X', sizeof host);
    unsigned short port = 7;
    int hasPort = -1;
    int rc = FtpParseHostText(text, host, hostSize, &port, &hasPort);
    if (strnlen(host, hostSize) >= hostSize || strchr(host, ' ') != NULL)
      __builtin_trap();
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
  return 0;
}
