// Shared by the gateway fuzz targets: the response text as the exchange
// builds it from the bytes received (chunks of 4,096 bytes, each used up to
// its first zero byte), and the properties every redirection must keep,
// checked over either redirection rule.
#ifndef FUZZ_GATEWAY_RESPONSE_H
#define FUZZ_GATEWAY_RESPONSE_H

#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/exchange_text.h"

inline CString responseFromBytes(const uint8_t* data, size_t size)
{
  CString response;
  for (size_t at = 0; at < size; at += 4096) {
    size_t length = size - at < 4096 ? size - at : 4096;
    response += CString(reinterpret_cast<const char*>(data + at), static_cast<int>(length));
  }
  return response;
}

// The target an exchange had, of an http or an https gateway.
inline ExchangeTarget startingTarget(bool secure = false)
{
  ExchangeTarget target{"old.test", "8081", "/old", CString(gatewayPath) + "a=1"};
  target.secure = secure;
  return target;
}

// A followed redirection names a host without "/", a port, a prefix that is
// empty or begins with "/" (never "/" alone), and keeps the gateway text; the
// response holds the gateway path; host and prefix hold no blank and no
// control byte (they go into the next request line); it never leads from
// https to http, and to https only where the response says "https://". A
// refused one leaves the target alone.
inline void checkRedirection(bool followed, const CString& response, const ExchangeTarget& after,
                             const ExchangeTarget& before)
{
  if (after.gatewayText != before.gatewayText)
    std::abort();
  if (!followed) {
    if (after.host != before.host || after.portText != before.portText || after.pathPrefix != before.pathPrefix ||
        after.secure != before.secure)
      std::abort();
    return;
  }
  CString upper = response;
  upper.MakeUpper();
  if ((before.secure && !after.secure) || (after.secure && !before.secure && upper.Find("HTTPS://") < 0))
    std::abort();
  CString upperGateway = gatewayPath;
  upperGateway.MakeUpper();
  if (upper.Find(upperGateway) < 0)
    std::abort();
  if (after.host.Find('/') >= 0 || after.portText.IsEmpty())
    std::abort();
  if (!after.pathPrefix.IsEmpty() && (after.pathPrefix[0] != '/' || after.pathPrefix == "/"))
    std::abort();
  if (after.pathPrefix.GetLength() > response.GetLength() || after.host.GetLength() > response.GetLength() + 8)
    std::abort();
  for (const CString* part : {&after.host, &after.pathPrefix})
    for (int i = 0; i < part->GetLength(); ++i)
      if (static_cast<unsigned char>((*part)[i]) <= ' ' || (*part)[i] == 0x7F)
        std::abort();
}

// A redirection rule (redirectByLocation, redirectByLink) over the bytes as a
// response, from an http and from an https exchange, checked as above.
template <class Rule>
void checkRedirectionRule(const uint8_t* data, size_t size, Rule rule)
{
  CString response = responseFromBytes(data, size);
  for (bool secure : {false, true}) {
    ExchangeTarget target = startingTarget(secure);
    checkRedirection(rule(response, gatewayPath, target), response, target, startingTarget(secure));
  }
}

#endif
