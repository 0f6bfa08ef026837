/* The engine's parsers over bytes and text: replies, PASV and EPSV, host
 * texts, IPv6 literals, quotes, certificate names. */
#include "parse.h"

#include <stdio.h>
#include <string.h>

static int FtpIsDigit(int c)
{
  return c >= '0' && c <= '9';
}

void FtpReplyBegin(FtpReplyParser *parser, int mode, char *capture, size_t captureSize, int captureAll)
{
  memset(parser, 0, sizeof *parser);
  parser->mode = mode;
  parser->capture = captureSize ? capture : NULL;
  parser->captureSize = capture ? captureSize : 0;
  parser->captureAll = captureAll;
  if (parser->capture)
    parser->capture[0] = '\0';
}

int FtpReplyClass(const FtpReplyParser *parser)
{
  return parser->first - '0';
}

static void FtpReplyEndLine(FtpReplyParser *parser)
{
  parser->lineChars = 0;
  parser->lineCode = 0;
  parser->lineFirst = 0;
  if (parser->pasvState == 2)   /* a 227 address never runs past its line */
    parser->pasvState = 3;
}

static int FtpReplyTelnet(FtpReplyParser *parser, unsigned char byte)
{
  if (parser->telnet == 1) {
    if (byte == TELNET_WILL || byte == TELNET_WONT)
      parser->telnet = 2;
    else if (byte == TELNET_DO || byte == TELNET_DONT)
      parser->telnet = 3;
    else
      parser->telnet = 0;   /* any other command gets no answer */
    return FTP_FEED_MORE;
  }
  /* the option byte: refuse whatever was offered or asked */
  parser->answer[0] = TELNET_IAC;
  parser->answer[1] = parser->telnet == 2 ? TELNET_DONT : TELNET_WONT;
  parser->answer[2] = byte;
  parser->answerLength = 3;
  parser->telnet = 0;
  return FTP_FEED_MORE;
}

int FtpReplyFeed(FtpReplyParser *parser, unsigned char byte)
{
  parser->answerLength = 0;
  parser->echoLength = 0;
  parser->flush = 0;

  if (parser->telnet)
    return FtpReplyTelnet(parser, byte);
  if (byte == TELNET_IAC) {
    if (parser->mode == FTP_REPLY_CAPTURE)
      return FTP_FEED_HOSTILE;
    parser->telnet = 1;
    return FTP_FEED_MORE;
  }

  if (byte == '\n') {
    int echoed = parser->lineFirst == '5';
    if (echoed && parser->mode == FTP_REPLY_READ) {
      parser->echo[parser->echoLength++] = '\n';
      parser->flush = 1;
    }
    /* "230-Welcome" ... "230-more" ... "230 done": only a line with the
     * opening code ends a multi-line reply; the second "230-" line has its
     * code cleared and does not. */
    if (parser->continuation && parser->lineCode != parser->openingCode) {
      if (parser->openingCode == 0)
        parser->openingCode = parser->lineCode;
      FtpReplyEndLine(parser);
      return FTP_FEED_MORE;
    }
    parser->code = parser->lineCode;
    parser->first = parser->lineFirst;
    FtpReplyEndLine(parser);
    return FTP_FEED_DONE;
  }

  char c = static_cast<char>(byte);
  parser->lineChars++;
  if (parser->lineChars == 1)
    parser->lineFirst = c;
  if (parser->lineChars < 4 && FtpIsDigit(c))
    parser->lineCode = parser->lineCode * 10 + (c - '0');
  if (parser->lineChars == 4 && c == '-') {
    if (parser->continuation)
      parser->lineCode = 0;
    parser->continuation++;
  }

  /* "227 Entering Passive Mode (127,0,0,1,195,149)": keep from the first
   * digit after the code up to a carriage return or ')'. */
  if (parser->pasvState == 0 && parser->lineCode == 227)
    parser->pasvState = 1;
  if (parser->pasvState == 1 && parser->lineChars > 4 && FtpIsDigit(c))
    parser->pasvState = 2;
  if (parser->pasvState == 2) {
    if (c == '\r' || c == ')')
      parser->pasvState = 3;
    else if (parser->pasvLength < FTP_PASV_TEXT_SIZE - 1)
      parser->pasvText[parser->pasvLength++] = c;
  }

  if (parser->mode == FTP_REPLY_READ) {
    if (parser->lineFirst == '5' && c != '\r')
      parser->echo[parser->echoLength++] = c;
  } else if (parser->capture && parser->lineChars >= 5 && c != '\r' &&
             (parser->lineFirst == '2' || parser->captureAll) &&
             parser->captured + 2 < parser->captureSize) {
    parser->capture[parser->captured++] = c;
    parser->capture[parser->captured] = '\0';
  }
  return FTP_FEED_MORE;
}

/* Pieces of the PASV text, as a tokenizer over a private copy: each call
 * skips leading separators and cuts at the next one. */
static char *FtpNextPiece(char **cursor, const char *separators)
{
  char *p = *cursor;
  if (p == NULL)
    return NULL;
  while (*p && strchr(separators, *p))
    p++;
  if (*p == '\0') {
    *cursor = NULL;
    return NULL;
  }
  char *start = p;
  while (*p && !strchr(separators, *p))
    p++;
  if (*p) {
    *p = '\0';
    *cursor = p + 1;
  } else {
    *cursor = NULL;
  }
  return start;
}

/* A piece as a byte: leading blanks, at least one digit, no value above 255;
 * what follows the digits is ignored ("149)." or "149 "). */
static int FtpPieceByte(const char *piece, int *value)
{
  if (piece == NULL)
    return -1;
  while (*piece == ' ')
    piece++;
  if (!FtpIsDigit(*piece))
    return -1;
  int v = 0;
  for (; FtpIsDigit(*piece); piece++) {
    v = v * 10 + (*piece - '0');
    if (v > 255)
      return -1;
  }
  *value = v;
  return 0;
}

int FtpParsePasv(const char *text, FtpAddress *address)
{
  char copy[256];
  size_t length = strlen(text);
  if (length > sizeof copy - 1)
    length = sizeof copy - 1;
  memcpy(copy, text, length);
  copy[length] = '\0';

  char *cursor = copy;
  char *piece = FtpNextPiece(&cursor, " (,");
  while (piece != NULL && !FtpIsDigit(*piece)) {
    /* A negative number is no address byte; passing over it would read the
     * numbers after it one place off. */
    if (piece[0] == '-' && FtpIsDigit(piece[1]))
      return -1;
    piece = FtpNextPiece(&cursor, " (,");
  }
  int numbers[6];
  if (FtpPieceByte(piece, &numbers[0]) != 0)
    return -1;
  for (int i = 1; i < 5; i++)
    if (FtpPieceByte(FtpNextPiece(&cursor, ","), &numbers[i]) != 0)
      return -1;
  if (FtpPieceByte(FtpNextPiece(&cursor, ")"), &numbers[5]) != 0)
    return -1;
  memset(address, 0, sizeof *address);
  for (int i = 0; i < 4; i++)
    address->ip[i] = static_cast<unsigned char>(numbers[i]);
  address->port = static_cast<unsigned short>(numbers[4] * 256 + numbers[5]);
  return 0;
}

int FtpParseEpsv(const char *text, unsigned short *port)
{
  /* "Entering Extended Passive Mode (|||6446|)": the network protocol and
   * the address are left out, the data connection goes to the control
   * connection's server. */
  const char *open = strchr(text, '(');
  if (open == NULL)
    return -1;
  char delimiter = open[1];
  if (delimiter < '!' || delimiter > '~' || FtpIsDigit(delimiter) || open[2] != delimiter ||
      open[3] != delimiter)
    return -1;
  const char *p = open + 4;
  long value = 0;
  if (!FtpIsDigit(*p))
    return -1;
  for (; FtpIsDigit(*p); p++) {
    value = value * 10 + (*p - '0');
    if (value > 65535)
      return -1;
  }
  if (value == 0 || p[0] != delimiter || p[1] != ')')
    return -1;
  *port = static_cast<unsigned short>(value);
  return 0;
}

static int FtpHexValue(char c)
{
  if (FtpIsDigit(c))
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

/* "192.0.2.33" from start to end: four decimal numbers of 0 to 255, none with
 * a leading zero. */
static int FtpParseDottedQuad(const char *start, const char *end, unsigned char out[4])
{
  const char *p = start;
  for (int part = 0; part < 4; part++) {
    if (part > 0) {
      if (p == end || *p != '.')
        return -1;
      p++;
    }
    int value = 0, digits = 0;
    for (; p < end && FtpIsDigit(*p); p++, digits++) {
      if (digits > 0 && value == 0)
        return -1;
      value = value * 10 + (*p - '0');
      if (value > 255)
        return -1;
    }
    if (digits == 0)
      return -1;
    out[part] = static_cast<unsigned char>(value);
  }
  return p == end ? 0 : -1;
}

static int FtpValidZone(const char *zone)
{
  if (*zone == '\0')
    return 0;
  for (; *zone; zone++)
    if (*zone < '!' || *zone > '~' || *zone == '%' || *zone == '[' || *zone == ']')
      return 0;
  return 1;
}

int FtpParseIpv6(const char *text, unsigned char bytes[16], const char **zone)
{
  const char *percent = strchr(text, '%');
  const char *end = percent ? percent : text + strlen(text);
  if (percent && !FtpValidZone(percent + 1))
    return -1;
  unsigned char out[16];
  memset(out, 0, sizeof out);
  size_t filled = 0;
  long gap = -1;   /* where "::" stands, in bytes */
  const char *p = text;
  if (p < end && *p == ':') {
    if (p + 1 >= end || p[1] != ':')
      return -1;
    p += 2;
    gap = 0;
  }
  while (p < end) {
    const char *start = p;
    unsigned value = 0;
    int digits = 0;
    for (; p < end && FtpHexValue(*p) >= 0; p++, digits++)
      if (digits < 4)
        value = value * 16 + static_cast<unsigned>(FtpHexValue(*p));
    if (p < end && *p == '.') {
      /* "::ffff:192.0.2.33": the last 32 bits as an IPv4 address. */
      if (filled + 4 > sizeof out || FtpParseDottedQuad(start, end, out + filled) != 0)
        return -1;
      filled += 4;
      break;
    }
    if (digits == 0 || digits > 4 || filled + 2 > sizeof out)
      return -1;
    out[filled++] = static_cast<unsigned char>(value >> 8);
    out[filled++] = static_cast<unsigned char>(value & 0xff);
    if (p == end)
      break;
    if (*p != ':' || p + 1 == end)
      return -1;   /* another character, or a colon at the end */
    p++;
    if (*p == ':') {
      if (gap >= 0)
        return -1;   /* "::" once only */
      gap = static_cast<long>(filled);
      p++;
    }
  }
  if (gap >= 0) {
    /* The zero groups of "::" fill what the others leave; at least one. */
    if (filled == sizeof out)
      return -1;
    size_t tail = filled - static_cast<size_t>(gap);
    memmove(out + sizeof out - tail, out + gap, tail);
    memset(out + gap, 0, sizeof out - tail - static_cast<size_t>(gap));
  } else if (filled != sizeof out) {
    return -1;
  }
  memcpy(bytes, out, sizeof out);
  *zone = percent ? percent + 1 : NULL;
  return 0;
}

void FtpAddressText(const FtpAddress *address, char *text, size_t size)
{
  const unsigned char *ip = address->ip;
  if (size == 0)
    return;
  if (address->family != FTP_IPV6) {
    snprintf(text, size, "%u.%u.%u.%u", ip[0], ip[1], ip[2], ip[3]);
    return;
  }
  static const unsigned char mapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
  if (memcmp(ip, mapped, sizeof mapped) == 0) {
    snprintf(text, size, "::ffff:%u.%u.%u.%u", ip[12], ip[13], ip[14], ip[15]);
    return;
  }
  unsigned groups[8];
  for (int i = 0; i < 8; i++)
    groups[i] = (static_cast<unsigned>(ip[2 * i]) << 8) | ip[2 * i + 1];
  /* The longest run of two or more zero groups, the first of equal ones. */
  int bestStart = -1, bestLength = 1;
  for (int i = 0; i < 8;) {
    int j = i;
    while (j < 8 && groups[j] == 0)
      j++;
    if (j - i > bestLength) {
      bestStart = i;
      bestLength = j - i;
    }
    i = j > i ? j : i + 1;
  }
  char out[FTP_ADDRESS_TEXT_SIZE];
  size_t length = 0;
  for (int i = 0; i < 8; i++) {
    if (i == bestStart) {
      length += static_cast<size_t>(snprintf(out + length, sizeof out - length, "::"));
      i += bestLength - 1;
      continue;
    }
    const char *separator = (i == 0 || i == bestStart + bestLength) ? "" : ":";
    length += static_cast<size_t>(snprintf(out + length, sizeof out - length, "%s%x", separator, groups[i]));
  }
  snprintf(text, size, "%s", out);
}

/* The port after a host: blanks, then the digits of the number (none: 0). */
static int FtpReadPort(const char *p, unsigned short *port)
{
  while (*p == ' ')
    p++;
  /* "host 2121": the number that follows; no number means port 0. */
  long value = 0;
  for (; FtpIsDigit(*p); p++) {
    value = value * 10 + (*p - '0');
    if (value > 65535)
      return -1;
  }
  *port = static_cast<unsigned short>(value);
  return 0;
}

/* "[2001:db8::7]", "[2001:db8::7] 2121", "[2001:db8::7]:2121". */
static int FtpParseBracketedHost(const char *text, char *host, size_t size, unsigned short *port, int *hasPort)
{
  const char *close = strchr(text, ']');
  char inner[128];
  if (close == NULL || static_cast<size_t>(close - text - 1) >= sizeof inner)
    return FTP_HOST_TEXT_MALFORMED;
  size_t length = static_cast<size_t>(close - text - 1);
  memcpy(inner, text + 1, length);
  inner[length] = '\0';
  unsigned char bytes[16];
  const char *zone;
  if (FtpParseIpv6(inner, bytes, &zone) != 0 || (close[1] != '\0' && close[1] != ' ' && close[1] != ':'))
    return FTP_HOST_TEXT_MALFORMED;
  if (length > size - 1)
    length = size - 1;
  memcpy(host, inner, length);
  host[length] = '\0';
  if (close[1] == '\0')
    return 0;
  *hasPort = 1;
  return FtpReadPort(close + 2, port);
}

int FtpParseHostText(const char *text, char *host, size_t size, unsigned short *port, int *hasPort)
{
  *hasPort = 0;
  if (text[0] == '[') {
    host[0] = '\0';
    return FtpParseBracketedHost(text, host, size, port, hasPort);
  }
  size_t length = strlen(text);
  if (length > size - 1)
    length = size - 1;
  memcpy(host, text, length);
  host[length] = '\0';
  char *blank = strchr(host, ' ');
  if (blank == NULL)
    return 0;
  *blank = '\0';
  *hasPort = 1;
  return FtpReadPort(blank + 1, port);
}

int FtpQuotedText(const char *text, char *out, size_t size)
{
  /* 257 "/home/user" is the current directory */
  const char *open = strchr(text, '"');
  if (open == NULL)
    return -1;
  const char *close = strchr(open + 1, '"');
  if (close == NULL)
    return -1;
  size_t length = static_cast<size_t>(close - open - 1);
  if (length > size - 1)
    length = size - 1;
  memcpy(out, open + 1, length);
  out[length] = '\0';
  return 0;
}

static int FtpSameNameText(const char *a, const char *b, size_t length)
{
  for (size_t i = 0; i < length; i++) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z')
      x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z')
      y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y)
      return 0;
  }
  return 1;
}

int FtpCertificateNameMatches(const char *pattern, const char *host)
{
  size_t patternLength = strlen(pattern);
  size_t hostLength = strlen(host);
  if (patternLength == 0 || hostLength == 0)
    return 0;
  if (pattern[0] != '*')
    return strchr(pattern, '*') == NULL && patternLength == hostLength &&
           FtpSameNameText(pattern, host, hostLength);
  /* "*." and a rest of two labels or more, without another wildcard. */
  const char *rest = pattern + 1;
  size_t restLength = patternLength - 1;
  if (rest[0] != '.' || strchr(rest, '*') != NULL || strchr(rest + 1, '.') == NULL)
    return 0;
  const char *dot = strchr(host, '.');
  if (dot == NULL || dot == host)
    return 0;
  return static_cast<size_t>(host + hostLength - dot) == restLength && FtpSameNameText(rest, dot, restLength);
}

int FtpCertificateAddressMatches(const unsigned char *bytes, size_t length, const FtpAddress *address)
{
  if (address->family == FTP_IPV6)
    return length == 16 && memcmp(bytes, address->ip, 16) == 0;
  return length == 4 && memcmp(bytes, address->ip, 4) == 0;
}

int FtpCertificateDnsNameMatches(const unsigned char *name, size_t length, const char *host)
{
  char text[256];
  if (length == 0 || length >= sizeof text || memchr(name, 0, length) != NULL)
    return 0;
  memcpy(text, name, length);
  text[length] = '\0';
  return FtpCertificateNameMatches(text, host);
}

/* A DER element's header at *at: its tag byte and the length of its
 * contents, which lie within end; *at moves to the contents. 0, or -1. */
static int FtpDerHeader(const unsigned char **at, const unsigned char *end, unsigned *tag, size_t *length)
{
  const unsigned char *p = *at;
  if (end - p < 2 || (p[0] & 0x1f) == 0x1f)
    return -1;   /* too short, or a tag number of several bytes */
  *tag = *p++;
  size_t n = *p++;
  if (n & 0x80) {
    size_t bytes = n & 0x7f;
    if (bytes == 0 || bytes > 4 || static_cast<size_t>(end - p) < bytes)
      return -1;
    n = 0;
    while (bytes-- > 0)
      n = (n << 8) | *p++;
  }
  if (static_cast<size_t>(end - p) < n)
    return -1;
  *at = p;
  *length = n;
  return 0;
}

int FtpAltNamesOpen(FtpAltNameReader *reader, const unsigned char *value, size_t length)
{
  const unsigned char *at = value;
  const unsigned char *end = value + length;
  unsigned tag;
  size_t contents;
  if (FtpDerHeader(&at, end, &tag, &contents) != 0 || tag != 0x30 || at + contents != end)
    return -1;
  reader->next = at;
  reader->end = end;
  return 0;
}

int FtpAltNamesNext(FtpAltNameReader *reader, FtpAltName *name)
{
  if (reader->next == reader->end)
    return 0;
  unsigned tag;
  size_t length;
  /* A GeneralName is context-specific: [2] a DNS name, [7] an address. */
  if (FtpDerHeader(&reader->next, reader->end, &tag, &length) != 0 || (tag & 0xc0) != 0x80)
    return -1;
  name->kind = static_cast<int>(tag & 0x1f);
  name->bytes = reader->next;
  name->length = length;
  reader->next += length;
  return 1;
}

void FtpListingBegin(FtpListingReader *reader)
{
  memset(reader, 0, sizeof *reader);
}

static void FtpListingEmit(FtpListingReader *reader)
{
  memcpy(reader->element, reader->line, reader->length);
  reader->element[reader->length] = '\0';
  reader->elementLength = reader->length;
  reader->length = 0;
}

/* A character of the line; a full piece goes out first. 1 when it did. */
static int FtpListingAppend(FtpListingReader *reader, char c)
{
  int emitted = 0;
  if (reader->length == FTP_LISTING_LINE) {
    FtpListingEmit(reader);
    emitted = 1;
  }
  reader->line[reader->length++] = c;
  return emitted;
}

int FtpListingFeed(FtpListingReader *reader, unsigned char byte)
{
  if (reader->carriageReturn) {
    reader->carriageReturn = 0;
    if (byte != '\n') {
      /* a CR inside a line is part of it */
      int emitted = FtpListingAppend(reader, '\r');
      if (byte == '\r') {
        reader->carriageReturn = 1;
        return emitted;
      }
      return FtpListingAppend(reader, static_cast<char>(byte)) | emitted;
    }
  }
  if (byte == '\r') {
    reader->carriageReturn = 1;
    return 0;
  }
  if (byte == '\n') {
    /* A piece of exactly FTP_LISTING_LINE characters that the line end
     * follows is the whole line: no empty element after it. */
    FtpListingEmit(reader);
    return 1;
  }
  return FtpListingAppend(reader, static_cast<char>(byte));
}
