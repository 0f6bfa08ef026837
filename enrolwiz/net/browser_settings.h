// The readers of the default browser's proxy settings: Internet Explorer's
// "ProxyServer" value, Netscape's prefs.js lines and user directory, and the
// "return" texts of a proxy auto-configuration script. Each is a set of text
// searches tuned to what those browsers write, not a full parser.
#ifndef ENROLWIZ_NET_BROWSER_SETTINGS_H
#define ENROLWIZ_NET_BROWSER_SETTINGS_H

#include "framework/cstring.h"
#include "net/connection_settings.h"

class CStdioFile;

// text without a leading "http://" or "http:\\" (any case); a scheme elsewhere stays.
CString stripScheme(const CString& text);

// Internet Explorer's "ProxyServer": "host:port" for every protocol (port 80
// when none), or a list "http=host:port;socks=host:port;..." of which the
// http entry sets the proxy (port 80), the https entry the proxy for secure
// connections (port 80) and the socks entry the SOCKS server (port 1080);
// other entries are ignored, an empty value sets nothing.
void splitProxyServer(const CString& value, ConnectionSettings& settings);

// The value that a prefs.js line gives key: empty unless the line mentions
// the key (any case) and holds a ","; else the text from the first "," on,
// without commas, double quotes, ")", ";" and blanks, through stripScheme.
CString prefsValue(const CString& line, const char* key);

// One prefs.js line: the first of the proxy preference keys (in their fixed
// order, a key before any key that is a prefix of it; the SSL proxy's last)
// that gives a value sets its setting; a line that gives none changes nothing.
void collectPrefsLine(const CString& line, ConnectionSettings& settings);
// Every line of an open prefs.js; the file's exceptions pass to the caller.
void collectPrefs(CStdioFile& file, ConnectionSettings& settings);

// The full path of fileName ("prefs.js", "bookmark.htm") in the current
// Netscape user's directory, found through the registry, or the empty text.
CString findNetscapeUserFile(const CString& fileName);

// The connection type that a proxy auto-configuration script's "return" texts
// give: 1 for DIRECT only, 3 for a SOCKS entry, 4 for a PROXY (or any other
// keyword) entry, whose server fills the SOCKS or proxy host and port (the last
// such entry wins; ports 1080 and 80 when none), 5 when nothing is recognised.
int readAutoConfigScript(const CString& script, ConnectionSettings& settings);

#endif
