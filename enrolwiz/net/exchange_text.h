// The texts of one HTTP exchange with the registration gateway, as functions
// over text: the target's parts, the request line, the classification of the
// response and the two redirection rules ("Location:" and "href" links).
#ifndef ENROLWIZ_NET_EXCHANGE_TEXT_H
#define ENROLWIZ_NET_EXCHANGE_TEXT_H

#include "framework/cstring.h"

// The gateway's path on the server; the request text follows it.
extern const char gatewayPath[];   // "/scripts/mwisapi.dll/Service.Gateway.DoGet?"

// The texts that make up a request; redirections change host, port text and
// path prefix, never the gateway text.
struct ExchangeTarget {
  CString host;
  CString portText;     // decimal, "80" unless named
  CString pathPrefix;   // empty or beginning with "/"
  CString gatewayText;  // the gateway path followed by the request text
};

// The first target from a target text "host[:port][/path]": the path prefix
// from the first "/" on, the port after the host's first ":" ("80" without one).
ExchangeTarget firstExchangeTarget(const CString& targetText, const CString& gatewayText);

// The request of an exchange. Directly and through a SOCKS server the
// simple-request form: "GET ", the path prefix, the gateway text and one line
// feed. Through an HTTP proxy a full HTTP/1.0 request, since proxies in use
// wait for header lines or refuse a request without a version: "GET http://"
// and the authority, the path prefix and the gateway text, " HTTP/1.0", CR LF,
// "Host: " and the authority, CR LF, CR LF. The authority is the host, with
// ":" and the port number when that is not 80.
CString requestLine(int connectionType, const ExchangeTarget& target);

enum ResponseClass {
  responseRefused,       // the status line is "HTTP/1.x 4xx" or "5xx": a proxy's or server's own error
  responseLocation,      // a line begins with "LOCATION:" (any case)
  responseLink,          // else holds "HREF"
  responseConfirmed,     // else holds "RESULT1=SUCCESS"
  responseNotConfirmed,  // none of them
};
ResponseClass classifyResponse(const CString& response);

// The status line of a response as it may be shown: the response's first
// line without its line end, each control byte as a blank, at most
// shownStatusLineLength characters.
const int shownStatusLineLength = 64;
CString shownStatusLine(const CString& response);

// The redirection that the response's first "Location:" header names (its
// value is the rest of that line): the host after "http://", "//" or at the
// start of the value, with its ":port" (without one the port stays), the path
// prefix before the gateway path (a prefix of "/" is none). A value that
// begins with "/" is on the same host and port. False, and the target
// unchanged, when the value holds no gateway path, names another scheme or
// no host, or its host or prefix holds a blank or a control character.
bool redirectByLocation(const CString& response, const CString& gateway, ExchangeTarget& target);

// The redirection that the first "href" link holding the gateway path names
// (the link is the quoted text after "href" when there are quotes, else the
// rest of the response); host, port and prefix as for a location; a link
// without a host stays on the same host and port. False, and the target
// unchanged, when no link holds the gateway path, or the first that does has
// a blank or a control character in its host or prefix.
bool redirectByLink(const CString& response, const CString& gateway, ExchangeTarget& target);

// Where the auto-configuration script is fetched from: the URL with or
// without "http://", the port after the host's ":" ("80" when none or empty),
// the path from the first "/" ("/" when there is none).
struct AutoConfigLocation {
  CString host;
  CString portText;
  CString path;
};
AutoConfigLocation splitAutoConfigUrl(const CString& url);

#endif
