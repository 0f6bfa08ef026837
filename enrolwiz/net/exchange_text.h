// The texts of one HTTP exchange with the registration gateway, as functions
// over text: the target's parts, the request line, the tunnel through an
// HTTP proxy for an https target, the classification of the response and the
// two redirection rules ("Location:" and "href" links).
#ifndef ENROLWIZ_NET_EXCHANGE_TEXT_H
#define ENROLWIZ_NET_EXCHANGE_TEXT_H

#include "framework/cstring.h"

// The gateway's path on the server; the request text follows it.
extern const char gatewayPath[];   // "/scripts/mwisapi.dll/Service.Gateway.DoGet?"

// The texts that make up a request; redirections change host, port text,
// path prefix and the scheme, never the gateway text.
struct ExchangeTarget {
  CString host;
  CString portText;     // decimal, "80" ("443" for https) unless named
  CString pathPrefix;   // empty or beginning with "/"
  CString gatewayText;  // the gateway path followed by the request text
  bool secure = false;  // an https target: the exchange runs over TLS
};

// The first target from a target text "[https://]host[:port][/path]": an
// https target when the text begins with "https://" (any case), the path
// prefix from the first "/" after the host on, the port after the host's
// first ":" ("80", or "443" for https, without one).
ExchangeTarget firstExchangeTarget(const CString& targetText, const CString& gatewayText);

// The request of an exchange. Directly and through a SOCKS server the
// simple-request form: "GET ", the path prefix, the gateway text and one line
// feed. Through an HTTP proxy a full HTTP/1.0 request, since proxies in use
// wait for header lines or refuse a request without a version: "GET http://"
// and the authority, the path prefix and the gateway text, " HTTP/1.0", CR LF,
// "Host: " and the authority, CR LF, CR LF. The authority is the host, with
// ":" and the port number when that is not 80. To an https target, whatever
// the connection, the request inside TLS is a full HTTP/1.0 one for the path:
// "GET ", the path prefix and the gateway text, " HTTP/1.0", CR LF, "Host: "
// and the authority (the port when it is not 443), CR LF, CR LF.
CString requestLine(int connectionType, const ExchangeTarget& target);

// What asks an HTTP proxy for a tunnel to an https target: "CONNECT host:port
// HTTP/1.0", CR LF, "Host: host:port", CR LF, CR LF (the port as a number).
CString tunnelRequest(const ExchangeTarget& target);
// The proxy's answer is whole once its head has ended (an empty line).
bool tunnelAnswerComplete(const CString& answer);
// The tunnel stands when the answer is a head alone whose status line is
// "HTTP/1.x 200": anything else (a refusal, a page, bytes after the head) is
// no tunnel.
bool tunnelEstablished(const CString& answer);

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
// value is the rest of that line): the host after "http://", "https://",
// "//" or at the start of the value, with its ":port" (without one an http
// target keeps its port and an https target is on 443), the path prefix
// before the gateway path (a prefix of "/" is none). "https://" makes the
// target an https one; "http://" an http one; without a scheme it stays as it
// was. A value that begins with "/" is on the same host and port. False, and
// the target unchanged, when the value holds no gateway path, names another
// scheme or no host, leads from https to http, or its host or prefix holds a
// blank or a control character.
bool redirectByLocation(const CString& response, const CString& gateway, ExchangeTarget& target);

// The redirection that the first "href" link holding the gateway path names
// (the link is the quoted text after "href" when there are quotes, else the
// rest of the response); host, port, prefix and scheme as for a location,
// the scheme being the first "http://" or "https://" in the link; a link
// without a host stays on the same host and port. False, and the target
// unchanged, when no link holds the gateway path, or the first that does
// leads from https to http, names https without a host, or has a blank or a
// control character in its host or prefix.
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
