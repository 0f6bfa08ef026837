/* Parsers of what the server and the caller send the engine: reply lines with
 * their Telnet commands, the PASV and EPSV replies, the host text with its
 * port, IPv6 literals and their text, and quoted directory names. They work
 * on bytes and text only (no sockets), so table tests and fuzz targets drive
 * them directly. */
#ifndef WENDRIK_FTP_PARSE_H
#define WENDRIK_FTP_PARSE_H

#include <stddef.h>

#include "net.h"

/* Telnet bytes of the control connection. */
#define TELNET_IAC  255
#define TELNET_DONT 254
#define TELNET_DO   253
#define TELNET_WONT 252
#define TELNET_WILL 251
#define TELNET_IP   244
#define TELNET_DM   242

/* The address part of a 227 reply, at most FTP_PASV_TEXT_SIZE - 1 characters. */
#define FTP_PASV_TEXT_SIZE 64

/* How the reply is read: as the reply reader does (Telnet commands answered,
 * 5xx lines echoed), or as the capture does (a Telnet byte is hostile, nothing
 * echoed, reply text copied into the caller's buffer). */
enum FtpReplyMode { FTP_REPLY_READ = 0, FTP_REPLY_CAPTURE = 1 };

/* What one byte did to the reply. */
enum FtpFeedResult {
  FTP_FEED_MORE = 0,     /* the reply goes on */
  FTP_FEED_DONE = 1,     /* the reply is complete: see code, first, openingCode */
  FTP_FEED_HOSTILE = 2   /* a Telnet byte while capturing: drop the connection */
};

struct FtpReplyParser {
  int mode;
  /* capture buffer of the caller (capture mode only) */
  char *capture;
  size_t captureSize;
  size_t captured;
  int captureAll;
  /* the line being read */
  int lineChars;        /* characters of the line so far, Telnet bytes not counted */
  int lineCode;         /* value of the digits among characters 1 to 3 */
  char lineFirst;       /* first character of the line, 0 before it */
  /* the reply */
  int continuation;     /* lines whose fourth character was '-' */
  int openingCode;      /* code of the line that opened a multi-line reply */
  int telnet;           /* Telnet state: 0, after IAC, after IAC WILL/WONT, after IAC DO/DONT */
  int pasvState;        /* 0 not 227, 1 reply is 227, 2 copying, 3 copied */
  size_t pasvLength;
  char pasvText[FTP_PASV_TEXT_SIZE];
  /* outputs of the last byte fed */
  unsigned char answer[3];   /* Telnet answer to send back */
  int answerLength;
  char echo[2];              /* characters for standard output */
  int echoLength;
  int flush;                 /* flush standard output after the echo */
  /* the complete reply */
  int code;                  /* code of the last line */
  char first;                /* first character of the last line */
};

/* Starts a reply; capture may be null (nothing copied). */
void FtpReplyBegin(FtpReplyParser *parser, int mode, char *capture, size_t captureSize, int captureAll);
/* Feeds one received byte. */
int FtpReplyFeed(FtpReplyParser *parser, unsigned char byte);
/* The reply class of a complete reply: its last line's first character - '0'. */
int FtpReplyClass(const FtpReplyParser *parser);

/* The address and port of a PASV reply's text, for example
 *   227 Entering Passive Mode (127,0,0,1,195,149).
 *   227 =127,0,0,1,195,149
 * (the captured text after the code). 0 when the text holds six numbers of 0
 * to 255 in the expected places, -1 otherwise (a negative number among the
 * words before them too). */
int FtpParsePasv(const char *text, FtpAddress *address);

/* The port of an EPSV reply's text (RFC 2428), for example
 *   229 Entering Extended Passive Mode (|||6446|)
 * (the captured text after the code): the first "(" followed by three equal
 * delimiters (a character from '!' to '~'), a port of 1 to 65535 and the
 * delimiter again, then ")". 0 with *port, -1 when the text holds no such
 * part. */
int FtpParseEpsv(const char *text, unsigned short *port);

/* An IPv6 literal (RFC 4291: eight groups of up to four hexadecimal digits,
 * "::" for one run of zero groups, the last 32 bits perhaps as a dotted
 * IPv4 address), perhaps followed by "%" and a zone. 0 with the 16 bytes and
 * *zone the zone's text (null when there is none), -1 when text is no such
 * literal. */
int FtpParseIpv6(const char *text, unsigned char bytes[16], const char **zone);

/* An address as text: dotted for IPv4, for IPv6 the form of RFC 5952 (lower
 * case, the longest run of two or more zero groups as "::", the IPv4
 * address of an IPv4-mapped one dotted), without its zone; cut to size - 1.
 * At most FTP_ADDRESS_TEXT_SIZE - 1 characters. */
#define FTP_ADDRESS_TEXT_SIZE 46
void FtpAddressText(const FtpAddress *address, char *text, size_t size);

/* The host text of a login: a host, or a host, a blank and a port; an IPv6
 * address may stand in brackets ("[2001:db8::7]"), and then a blank or a
 * colon brings its port ("[2001:db8::7] 2121", "[2001:db8::7]:2121").
 * Copies the host part (without the brackets) into host (cut to size - 1) and
 * sets *port when a port is given (a blank or colon with no number gives 0).
 * 0 when the text is usable, -1 when its port is above 65535,
 * FTP_HOST_TEXT_MALFORMED when brackets hold no IPv6 address or something
 * else than a port follows them (host is then empty). *hasPort tells whether
 * a port was given (a blank, or a colon after brackets). */
#define FTP_HOST_TEXT_MALFORMED (-2)
int FtpParseHostText(const char *text, char *host, size_t size, unsigned short *port, int *hasPort);

/* The text between the first two double quotes of a reply text, cut to
 * size - 1; 0 when found, -1 when the text has fewer than two quotes. */
int FtpQuotedText(const char *text, char *out, size_t size);

/* 1 when a DNS name of a server's certificate names host (a host name, not
 * an address): the same name in any ASCII case, or a wildcard "*" that is the
 * whole first label of a name of at least three labels and stands for one
 * label of the host ("*.example.org" names "ftp.example.org", not
 * "example.org" nor "a.b.example.org"). Any other "*" names nothing. */
int FtpCertificateNameMatches(const char *pattern, const char *host);
/* A DNS name as a certificate states it, length bytes, names host: one that
 * holds a NUL names nothing ("good.example" NUL ".evil" is not
 * "good.example"), any other as FtpCertificateNameMatches says. */
int FtpCertificateDnsNameMatches(const unsigned char *name, size_t length, const char *host);

/* An IP address of a server's certificate, length bytes as encoded (4 for
 * IPv4, 16 for IPv6), names address: the same family and the same bytes
 * (an IPv4 address never names an IPv6 one, nor the reverse). */
int FtpCertificateAddressMatches(const unsigned char *bytes, size_t length, const FtpAddress *address);

/* The names of a certificate's subject alternative names extension, read
 * from its value as encoded (DER: a SEQUENCE of GeneralName), with the
 * lengths it states. */
#define FTP_ALT_NAME_DNS 2
#define FTP_ALT_NAME_IP 7
struct FtpAltName {
  int kind;                    /* the GeneralName's tag number (FTP_ALT_NAME_...) */
  const unsigned char *bytes;  /* its value, not terminated */
  size_t length;
};
struct FtpAltNameReader {
  const unsigned char *next;
  const unsigned char *end;
};
/* 0 with the reader before the first name, -1 when the value is no SEQUENCE
 * filling it. */
int FtpAltNamesOpen(FtpAltNameReader *reader, const unsigned char *value, size_t length);
/* 1 with the next name, 0 after the last, -1 when the rest is malformed. */
int FtpAltNamesNext(FtpAltNameReader *reader, FtpAltName *name);

/* A listing as stem elements, fed byte by byte from the listing file: a line
 * feed (or CR LF) ends a line; a line of more than FTP_LISTING_LINE
 * characters becomes several elements; what follows the last line end is not
 * an element. */
#define FTP_LISTING_LINE 198
struct FtpListingReader {
  char line[FTP_LISTING_LINE + 1];     /* the element being read */
  size_t length;
  int carriageReturn;                  /* a CR waits to see whether LF follows */
  char element[FTP_LISTING_LINE + 1];  /* the element completed by the last byte */
  size_t elementLength;
};

void FtpListingBegin(FtpListingReader *reader);
/* 1 when the byte completed an element (in element, zero-terminated), else 0. */
int FtpListingFeed(FtpListingReader *reader, unsigned char byte);

#endif
