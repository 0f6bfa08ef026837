// Fuzz target of the FTP engine's parsers of server text: the reply reader
// and the capture (fed byte by byte, as from a socket), the 227 address text,
// the PASV and EPSV parses of what was captured, the quoted directory name,
// and the listing data read into stem elements.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "ftp/parse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  // Reply reader: replies follow each other in the input.
  FtpReplyParser parser;
  FtpReplyBegin(&parser, FTP_REPLY_READ, nullptr, 0, 0);
  for (size_t i = 0; i < size; i++)
    if (FtpReplyFeed(&parser, data[i]) == FTP_FEED_DONE) {
      if (parser.pasvLength >= FTP_PASV_TEXT_SIZE)
        __builtin_trap();
      FtpReplyBegin(&parser, FTP_REPLY_READ, nullptr, 0, 0);
    }

  // Capture into small and usual buffers, then what a PASV and a PWD make of it.
  static const size_t sizes[] = {1, 2, 3, 8, 256};
  for (size_t bufferSize : sizes) {
    char buffer[256];
    memset(buffer, 'X', sizeof buffer);
    FtpReplyBegin(&parser, FTP_REPLY_CAPTURE, buffer, bufferSize, size ? data[0] & 1 : 0);
    for (size_t i = 0; i < size; i++)
      if (FtpReplyFeed(&parser, data[i]) != FTP_FEED_MORE)
        break;
    if (strnlen(buffer, bufferSize) >= bufferSize || (bufferSize < sizeof buffer && buffer[bufferSize] != 'X'))
      __builtin_trap();   // unterminated, or written past its size
    FtpAddress address;
    FtpParsePasv(buffer, &address);
    unsigned short port = 0;
    if (FtpParseEpsv(buffer, &port) == 0 && port == 0)
      __builtin_trap();
    char directory[16];
    FtpQuotedText(buffer, directory, sizeof directory);
  }

  // The input as a listing: every element terminated and within its bound.
  FtpListingReader listing;
  FtpListingBegin(&listing);
  for (size_t i = 0; i < size; i++)
    if (FtpListingFeed(&listing, data[i]) &&
        (listing.elementLength > FTP_LISTING_LINE || strlen(listing.element) > listing.elementLength))
      __builtin_trap();

  // The input itself as a PASV text and as a host text.
  char text[512];
  size_t length = size < sizeof text - 1 ? size : sizeof text - 1;
  memcpy(text, data, length);
  text[length] = '\0';
  FtpAddress address;
  FtpParsePasv(text, &address);
  unsigned short epsvPort;
  FtpParseEpsv(text, &epsvPort);
  char host[32];
  unsigned short port;
  int hasPort;
  FtpParseHostText(text, host, sizeof host, &port, &hasPort);
  return 0;
}
