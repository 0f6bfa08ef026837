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

// "host:port" into the target: the port after the first ":" ("80" when it is
// empty); a host without ":" keeps the port of the previous exchange.
void setHostAndPort(const std::string& host, ExchangeTarget& target)
{
  size_t colon = host.find(':');
  if (colon == std::string::npos) {
    target.host = host.c_str();
    return;
  }
  std::string port = host.substr(colon + 1);
  target.host = host.substr(0, colon).c_str();
  target.portText = port.empty() ? "80" : port.c_str();
}

void setPathPrefix(const std::string& prefix, ExchangeTarget& target)
{
  target.pathPrefix = prefix == "/" ? "" : prefix.c_str();
}

}  // namespace

ExchangeTarget firstExchangeTarget(const CString& targetText, const CString& gatewayText)
{
  ExchangeTarget target;
  CString host = targetText;
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
    target.portText = "80";
  }
  target.host = host;
  target.gatewayText = gatewayText;
  return target;
}

CString requestLine(int connectionType, const ExchangeTarget& target)
{
  CString line = "GET ";
  if (connectionType == connectionProxy)
    line += "http://" + target.host;
  line += target.pathPrefix;
  line += target.gatewayText;
  line += '\n';
  return line;
}

ResponseClass classifyResponse(const CString& response)
{
  std::string upper = upperCopy(response);
  if (upper.find("LOCATION:") != std::string::npos)
    return responseLocation;
  if (upper.find("HREF") != std::string::npos)
    return responseLink;
  if (upper.find("RESULT1=SUCCESS") != std::string::npos)
    return responseConfirmed;
  return responseNotConfirmed;
}

bool redirectByLocation(const CString& response, const CString& gateway, ExchangeTarget& target)
{
  const std::string text(response);
  const std::string upper = upperCopy(response);
  const std::string upperGateway = upperCopy(gateway);
  size_t at = upper.find("LOCATION:");
  if (at == std::string::npos)
    return false;
  at += 9;

  // "Location: /x/scripts/..." names a place on the same server.
  size_t value = text.find_first_not_of(" \t", at);
  bool sameServer = value != std::string::npos && text.compare(value, 1, "/") == 0 &&
                    text.compare(value, 2, "//") != 0;
  std::string host;
  size_t path = value;
  if (!sameServer) {
    size_t scheme = upper.find("HTTP://", at);
    size_t start = scheme == std::string::npos ? at : scheme + 7;
    path = text.find('/', start);
    if (path == std::string::npos)
      return false;
    host = text.substr(start, path - start);
  }
  size_t found = upper.find(upperGateway, path);
  if (upperGateway.empty() || found == std::string::npos)
    return false;
  if (!sameServer)
    setHostAndPort(host, target);
  setPathPrefix(text.substr(path, found - path), target);
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
        size_t scheme = upperLink.find("HTTP://");
        if (scheme != std::string::npos)
          link = link.substr(scheme + 7);
        size_t slash = link.find('/');
        std::string host = slash == std::string::npos ? link : link.substr(0, slash);
        if (!host.empty())
          setHostAndPort(host, target);
        setPathPrefix(slash == std::string::npos ? std::string() : link.substr(slash), target);
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
