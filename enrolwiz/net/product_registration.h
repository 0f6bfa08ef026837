// ProductRegistration: one submission of the registration request to the
// gateway, the way the default browser reaches the Internet (directly,
// through its HTTP proxy or SOCKS server, or as its auto-configuration script
// says), following the gateway's redirections. A submission returns 1 when
// the gateway confirmed the registration; every failure is thrown as a
// CRegException* with message id 127 whose prefix says what failed. Each
// step writes its diagnostic lines to standard output.
#ifndef ENROLWIZ_NET_PRODUCT_REGISTRATION_H
#define ENROLWIZ_NET_PRODUCT_REGISTRATION_H

#include "framework/cstring.h"
#include "net/connection_settings.h"
#include "net/exchange_text.h"
#include "net/sockets.h"

// The fixed buffers of a submission and the most of a response kept: a
// longer request or target text is refused rather than cut, and a response
// beyond the limit ends the submission.
const int requestBufferSize = 4096;          // 4,095 characters and a zero
const int targetBufferSize = 260;            // 259 characters and a zero
const int responseLimit = 8 * 1024 * 1024;   // bytes of one response
const int maxRedirections = 7;
// One exchange (connection, SOCKS handshake, the whole response) may last
// this many time-outs at most; a time-out below one second counts as one.
const int exchangeTimeoutMultiple = 4;

class ExchangeDeadline;

class ProductRegistration {
public:
  ProductRegistration();
  virtual ~ProductRegistration();
  ProductRegistration(const ProductRegistration&) = delete;
  ProductRegistration& operator=(const ProductRegistration&) = delete;

  // The request text to the target that the "connect" option chooses, with
  // the time-out of the "timeout" option: doPost's result.
  int postRegistration(const CString& request);

  // Detects the connection type from the browser's settings, starts Winsock,
  // prepares the first hop and runs up to seven exchanges; 1 when confirmed.
  // target: "[https://]host[:port][/path]"; gateway: the gateway path before
  // the request. An https target, and one that a redirection names, is
  // reached over TLS (through an HTTP proxy, in a tunnel of CONNECT).
  int doPost(const char* request, int timeoutSeconds, const char* target, const char* gateway);

  // Fetches the auto-configuration script at url (with or without "http://")
  // and returns the connection type it asks for (1, 3, 4 or 5), filling in the
  // server it names. Starts and cleans up Winsock on its own.
  int fetchAutoConfig(const CString& url, CString& proxyHost, CString& proxyPort, CString& socksHost,
                      CString& socksPort, int timeoutSeconds);

  // 0: resolved into address(); -2: a transient failure, ask once more; -1:
  // a dotted text that does not convert. A hard lookup failure cleans up
  // Winsock and throws "DNS resolution failed." from inside.
  int resolveHost(const CString& name);

  CString stripScheme(const CString& text) const;
  CString prefsValue(const CString& line, const char* key) const;

  const HostEntry* hostEntry() const { return hostEntry_; }
  const Ipv4Address& address() const { return address_; }

private:
  struct Exchanges;

  int browserConnectionType(ConnectionSettings& settings, bool secureTarget);
  int internetExplorerConnectionType(ConnectionSettings& settings, bool secureTarget);
  int netscapeConnectionType(ConnectionSettings& settings, bool secureTarget);
  void resolveOrFail(const CString& name);
  void useProxy(Exchanges& state, bool tunnel);
  void exchange(Exchanges& state);
  void socksHandshake(SocketHandle s, int timeoutSeconds, const ExchangeDeadline& deadline, unsigned short port,
                      const Ipv4Address& address);

  const HostEntry* hostEntry_;
  Ipv4Address address_;
};

// Seconds one exchange may last as a whole, for a time-out in seconds.
int exchangeTimeLimit(int timeoutSeconds);

// The target text for a "connect" option (compared ignoring case): "Direct"
// the registration server's host name, "DirectIP" its dotted address, any
// other value text 129 (the web host and its registration path); each after
// "https://" when the operator's gateway is an https one.
CString registrationTarget(const CString& connectOption);

#endif
