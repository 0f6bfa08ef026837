// Request line, response classification and the two redirection rules. All
// searches are on upper-case copies, so they ignore case; what is taken out
// comes from the response as received, at the same positions.
#include "net/exchange_text.h"

#include <string>
#include <string_view>

#include "net/browser_settings.h"
#include "net/connection_settings.h"

const char gatewayPath[] = "/scripts/mwisapi.dll/Service.Gateway.DoGet?";

namespace {

std::string upperCopy(const CString& text)
{
  CString upper = text;
  upper.MakeUpper();
  return std::string(upper);
}

const char httpPort[] = "80";
const char httpsPort[] = "443";

// "host:port" into the target, reached by http or, secure, by https: the
// port after the first ":" (the scheme's port when it is empty); a host
// without ":" keeps the port of the previous exchange by http, and is on
// 443 by https.
void setHostAndPort(const std::string& host, bool secure, ExchangeTarget& target)
{
  size_t colon = host.find(':');
  target.secure = secure;
  if (colon == std::string::npos) {
    target.host = host.c_str();
    if (secure)
      target.portText = httpsPort;
    return;
  }
  std::string port = host.substr(colon + 1);
  target.host = host.substr(0, colon).c_str();
  target.portText = !port.empty() ? port.c_str() : secure ? httpsPort : httpPort;
}

// The host with ":" and its port number (as a connection takes it, atoi of
// the text) when that is not the scheme's own.
CString authority(const ExchangeTarget& target)
{
  CString text = target.host;
  unsigned short port = static_cast<unsigned short>(atoiText(target.portText));
  if (port != (target.secure ? 443 : 80)) {
    CString number;
    number.Format(":%u", static_cast<unsigned>(port));
    text += number;
  }
  return text;
}

void setPathPrefix(const std::string& prefix, ExchangeTarget& target)
{
  target.pathPrefix = prefix == "/" ? "" : prefix.c_str();
}

// A host or path prefix taken from a response goes into the next request
// line: a blank, a line end or any other control byte would change what that
// line says (or add lines to it), so such a redirection is refused.
bool fitsRequestLine(const std::string& part)
{
  for (unsigned char c : part)
    if (c <= ' ' || c == 0x7F)
      return false;
  return true;
}

// The "Location:" header: the key at the start of a line, so that
// "Content-Location:" and the word in a page's text are not taken for it.
size_t locationHeader(const std::string& upper)
{
  for (size_t at = upper.find("LOCATION:"); at != std::string::npos; at = upper.find("LOCATION:", at + 1))
    if (at == 0 || upper[at - 1] == '\n')
      return at;
  return std::string::npos;
}

// The status code of a status line "HTTP/1.x NNN" of HTTP/1.0 or 1.1 at the
// start of the text, the code followed by a blank, a line end or nothing;
// -1 when the text begins with no such line.
int statusCode(const std::string& upper)
{
  auto digit = [&](size_t at) { return at < upper.size() && upper[at] >= '0' && upper[at] <= '9'; };
  if (upper.compare(0, 7, "HTTP/1.") != 0 || !digit(7))
    return -1;
  size_t code = 8;
  while (code < upper.size() && (upper[code] == ' ' || upper[code] == '\t'))
    ++code;
  if (code == 8 || !digit(code) || !digit(code + 1) || !digit(code + 2))
    return -1;
  size_t after = code + 3;
  if (after != upper.size() && upper[after] != ' ' && upper[after] != '\t' && upper[after] != '\r' &&
      upper[after] != '\n')
    return -1;
  return std::stoi(upper.substr(code, 3));
}

// A status line that says the request failed, 4xx or 5xx ("HTTP/1.0 407
// Proxy Authentication Required", "HTTP/1.1 403 Forbidden", "HTTP/1.1 502
// Bad Gateway").
bool isErrorStatus(const std::string& upper)
{
  int code = statusCode(upper);
  return code >= 400 && code <= 599;
}

// Where a head ends (after its empty line, CR LF or LF alone), or npos.
size_t headEnd(const std::string& text)
{
  size_t crlf = text.find("\r\n\r\n");
  size_t lf = text.find("\n\n");
  crlf = crlf == std::string::npos ? crlf : crlf + 4;
  lf = lf == std::string::npos ? lf : lf + 2;
  return crlf < lf ? crlf : lf;
}

}  // namespace

ExchangeTarget firstExchangeTarget(const CString& targetText, const CString& gatewayText)
{
  ExchangeTarget target;
  CString host = targetText;
  if (upperCopy(host.Left(8)) == "HTTPS://") {
    target.secure = true;
    host = host.Mid(8);
  }
  int slash = host.Find('/');
  if (slash >= 0) {
    target.pathPrefix = host.Mid(slash);
    host = host.Left(slash);
  }
  int colon = host.Find(':');
  if (colon >= 0) {
    target.portText = host.Mid(colon + 1);
    host = host.Left(colon);
  } else {
    target.portText = target.secure ? httpsPort : httpPort;
  }
  target.host = host;
  target.gatewayText = gatewayText;
  return target;
}

CString requestLine(int connectionType, const ExchangeTarget& target)
{
  CString path = target.pathPrefix + target.gatewayText;
  // Inside TLS the server itself is addressed, whatever carries the bytes.
  if (target.secure)
    return "GET " + path + " HTTP/1.0\r\nHost: " + authority(target) + "\r\n\r\n";
  if (connectionType != connectionProxy)
    return "GET " + path + "\n";
  // The port as the connection would take it (atoi of the text), so that the
  // proxy goes where a direct connection would.
  CString uriAuthority = authority(target);
  return "GET http://" + uriAuthority + path + " HTTP/1.0\r\nHost: " + uriAuthority + "\r\n\r\n";
}

CString tunnelRequest(const ExchangeTarget& target)
{
  CString where;
  where.Format("%s:%u", static_cast<const char*>(target.host),
               static_cast<unsigned>(static_cast<unsigned short>(atoiText(target.portText))));
  return "CONNECT " + where + " HTTP/1.0\r\nHost: " + where + "\r\n\r\n";
}

bool tunnelAnswerComplete(const CString& answer)
{
  return headEnd(std::string(answer)) != std::string::npos;
}

bool tunnelEstablished(const CString& answer)
{
  // "HTTP/1.1 200 Connection established", CR LF, CR LF; a proxy speaks no
  // more until the client has begun its handshake.
  const std::string upper = upperCopy(answer);
  return statusCode(upper) == 200 && headEnd(upper) == upper.size();
}

ResponseClass classifyResponse(const CString& response)
{
  std::string upper = upperCopy(response);
  if (isErrorStatus(upper))
    return responseRefused;
  if (locationHeader(upper) != std::string::npos)
    return responseLocation;
  if (upper.find("HREF") != std::string::npos)
    return responseLink;
  if (upper.find("RESULT1=SUCCESS") != std::string::npos)
    return responseConfirmed;
  return responseNotConfirmed;
}

CString shownStatusLine(const CString& response)
{
  const std::string text(response);
  std::string line = text.substr(0, text.find_first_of("\r\n"));
  if (line.size() > static_cast<size_t>(shownStatusLineLength))
    line.resize(static_cast<size_t>(shownStatusLineLength));
  for (char& c : line)
    if (static_cast<unsigned char>(c) < ' ' || c == 0x7F)
      c = ' ';
  return line.c_str();
}

bool redirectByLocation(const CString& response, const CString& gateway, ExchangeTarget& target)
{
  const std::string text(response);
  const std::string upper = upperCopy(response);
  const std::string upperGateway = upperCopy(gateway);
  size_t at = locationHeader(upper);
  if (at == std::string::npos || upperGateway.empty())
    return false;

  // The header's value is the rest of its line, without the blanks around it.
  size_t value = text.find_first_not_of(" \t", at + 9);
  size_t lineEnd = text.find_first_of("\r\n", at + 9);
  if (lineEnd == std::string::npos)
    lineEnd = text.size();
  if (value == std::string::npos || value >= lineEnd)
    return false;
  const std::string location = text.substr(value, lineEnd - value);
  const std::string upperLocation = upper.substr(value, lineEnd - value);

  // "http://host/...", "https://host/...", "//host/..." and "host/..." name
  // a host; "/..." is a place on the same server. Any other scheme cannot be
  // followed, nor can an https exchange lead to http.
  size_t hostStart = std::string::npos;
  bool secure = target.secure;
  if (upperLocation.compare(0, 7, "HTTP://") == 0) {
    hostStart = 7;
    secure = false;
  } else if (upperLocation.compare(0, 8, "HTTPS://") == 0) {
    hostStart = 8;
    secure = true;
  } else if (location.compare(0, 2, "//") == 0)
    hostStart = 2;
  else if (location[0] != '/') {
    if (location.find("://") != std::string::npos && location.find("://") < location.find('/'))
      return false;
    hostStart = 0;
  }
  if (target.secure && !secure)
    return false;
  size_t path = hostStart == std::string::npos ? 0 : location.find('/', hostStart);
  if (path == std::string::npos)
    return false;
  size_t found = upperLocation.find(upperGateway, path);
  if (found == std::string::npos)
    return false;
  std::string prefix = location.substr(path, found - path);
  if (!fitsRequestLine(prefix))
    return false;
  if (hostStart != std::string::npos) {
    std::string host = location.substr(hostStart, path - hostStart);
    if (host.empty() || host[0] == ':' || !fitsRequestLine(host))
      return false;
    setHostAndPort(host, secure, target);
  }
  setPathPrefix(prefix, target);
  return true;
}

bool redirectByLink(const CString& response, const CString& gateway, ExchangeTarget& target)
{
  const std::string text(response);
  const std::string upper = upperCopy(response);
  const std::string upperGateway = upperCopy(gateway);
  if (upperGateway.empty())
    return false;
  const std::string_view view(upper);

  // Each "href" in turn: its link W is the quoted text after it, or the rest
  // of the response when no pair of quotes follows. The quote positions only
  // grow from one "href" to the next, so they are found once each; a link
  // already searched is not searched again, and a link that runs to the end
  // of the response without the gateway path ends the search, since every
  // later link is a part of it. So a long page costs one pass.
  size_t href = upper.find("HREF");
  size_t quote = std::string::npos, quoteSearchedFrom = std::string::npos;
  size_t closing = std::string::npos, closingOf = std::string::npos;
  size_t searchedStart = std::string::npos, searchedEnd = std::string::npos;
  while (href != std::string::npos) {
    size_t from = href + 4;
    if (quoteSearchedFrom == std::string::npos || (quote != std::string::npos && quote < from)) {
      quote = text.find('"', from);
      quoteSearchedFrom = from;
    }
    size_t start = from, end = text.size();
    if (quote != std::string::npos) {
      start = quote + 1;
      if (closingOf != quote) {
        closing = text.find('"', start);
        closingOf = quote;
      }
      if (closing != std::string::npos)
        end = closing;
    }
    if (start != searchedStart || end != searchedEnd) {
      size_t found = view.substr(start, end - start).find(upperGateway);
      if (found != std::string_view::npos) {
        std::string link = text.substr(start, found);
        std::string upperLink = upper.substr(start, found);
        size_t plain = upperLink.find("HTTP://");
        size_t tls = upperLink.find("HTTPS://");
        bool secure = target.secure;
        if (tls != std::string::npos && (plain == std::string::npos || tls < plain)) {
          link = link.substr(tls + 8);
          secure = true;
        } else if (plain != std::string::npos) {
          link = link.substr(plain + 7);
          secure = false;
        }
        size_t slash = link.find('/');
        std::string host = slash == std::string::npos ? link : link.substr(0, slash);
        std::string prefix = slash == std::string::npos ? std::string() : link.substr(slash);
        if (!fitsRequestLine(host) || !fitsRequestLine(prefix))
          return false;
        // Never from https down to http, and https only to a host it names.
        if ((target.secure && !secure) || (secure != target.secure && host.empty()))
          return false;
        if (!host.empty())
          setHostAndPort(host, secure, target);
        setPathPrefix(prefix, target);
        return true;
      }
      if (end == text.size())
        return false;
      searchedStart = start;
      searchedEnd = end;
    }
    href = upper.find("HREF", from);
  }
  return false;
}

AutoConfigLocation splitAutoConfigUrl(const CString& url)
{
  AutoConfigLocation location;
  CString host = stripScheme(url);
  int slash = host.Find('/');
  if (slash >= 0) {
    location.path = host.Mid(slash);
    host = host.Left(slash);
  }
  // Without a path the server's root is asked for.
  if (location.path.IsEmpty())
    location.path = "/";
  int colon = host.Find(':');
  if (colon >= 0) {
    location.portText = host.Mid(colon + 1);
    host = host.Left(colon);
  }
  if (location.portText.IsEmpty())
    location.portText = "80";
  location.host = host;
  return location;
}
