// How the submission reaches the Internet: the connection type codes and the
// browser's proxy settings that the readers fill in.
#ifndef ENROLWIZ_NET_CONNECTION_SETTINGS_H
#define ENROLWIZ_NET_CONNECTION_SETTINGS_H

#include "framework/cstring.h"

enum ConnectionType {
  connectionDirect = 1,         // to the target host itself
  connectionAutoConfig = 2,     // the browser names an auto-configuration script
  connectionSocks = 3,          // through the SOCKS server
  connectionProxy = 4,          // through the HTTP proxy
  connectionUndetermined = 5,   // no way was found
};

// All texts, empty until a reader sets them; ports stay text until a socket
// address is filled in (atoiText then). The proxy for secure connections is
// the one the browser names for https alone; https targets go through the
// proxy when it names none.
struct ConnectionSettings {
  CString proxyHost;
  CString proxyPort;
  CString secureProxyHost;
  CString secureProxyPort;
  CString socksHost;
  CString socksPort;
  CString autoConfigUrl;
  CString netscapeProxyType;
};

#endif
