// The browser-settings readers: "ProxyServer", prefs.js, the Netscape user
// directory and the auto-configuration script's "return" texts.
#include "net/browser_settings.h"

#include "framework/collections.h"
#include "framework/file.h"
#include "framework/registry_readers.h"

namespace {

CString upperCopy(const CString& text)
{
  CString upper = text;
  upper.MakeUpper();
  return upper;
}

// host:port at the first ":"; without one the whole text is the host.
void splitServer(const CString& server, CString& host, CString& port, const char* defaultPort)
{
  int colon = server.Find(':');
  if (colon >= 0) {
    host = server.Left(colon);
    port = server.Mid(colon + 1);
  } else {
    host = server;
    port = defaultPort;
  }
}

// The entry after "NAME=" in a per-protocol "ProxyServer" list, up to its ";".
bool proxyListEntry(const CString& value, const CString& upper, const char* name, CString& entry)
{
  int at = upper.Find(name);
  if (at < 0)
    return false;
  entry = stripScheme(value.Mid(at + static_cast<int>(std::char_traits<char>::length(name))));
  int semicolon = entry.Find(';');
  if (semicolon >= 0)
    entry = entry.Left(semicolon);
  return true;
}

// The proxy preferences of prefs.js, in the order each line is tested.
struct PrefsKey {
  const char* key;
  CString ConnectionSettings::*setting;
};
const PrefsKey prefsKeys[] = {
    {"network.proxy.type", &ConnectionSettings::netscapeProxyType},
    {"network.proxy.http_port", &ConnectionSettings::proxyPort},
    {"network.proxy.http", &ConnectionSettings::proxyHost},
    {"network.hosts.socks_serverport", &ConnectionSettings::socksPort},
    {"network.hosts.socks_server", &ConnectionSettings::socksHost},
    {"network.proxy.autoconfig_url", &ConnectionSettings::autoConfigUrl},
    // The proxy for secure connections, after every key above, so that a
    // line that gives one of those still does.
    {"network.proxy.ssl_port", &ConnectionSettings::secureProxyPort},
    {"network.proxy.ssl", &ConnectionSettings::secureProxyHost},
};

bool fileExists(const CString& path)
{
  CFileStatus status;
  return CFile::GetStatus(path, status) != FALSE;
}

const char* const navigatorKey = "Software\\Netscape\\Netscape Navigator";
const char* const netcasterKey = "SOFTWARE\\Netscape\\Netcaster";

// Method 1: the user's "DirRoot" under the Navigator's list of users.
CString userFileFromUserList(const CString& fileName)
{
  const char* const users = "SOFTWARE\\Netscape\\Netscape Navigator\\Users";
  CString user = readRegistryText(registryLocalMachine, users, "CurrentUser");
  if (user.IsEmpty())
    return CString();
  CString dir = readRegistryText(registryLocalMachine, CString(users) + "\\" + user, "DirRoot");
  if (dir.IsEmpty())
    return CString();
  CString candidate = dir + "\\" + fileName;
  return fileExists(candidate) ? candidate : CString();
}

// The Netscape folder of an install directory such as
// "C:\Program Files\Netscape\Communicator\Program": the text before "Communicator".
bool netscapeFolder(const CString& installDirectory, CString& folder)
{
  int at = upperCopy(installDirectory).Find("COMMUNICATOR");
  if (at < 0)
    return false;
  folder = installDirectory.Left(at);
  return true;
}

// Method 2: the current version's install directory.
CString userFileFromInstallDirectory(const CString& user, const CString& fileName)
{
  CString version = readRegistryText(registryLocalMachine, navigatorKey, "CurrentVersion");
  if (version.IsEmpty())
    return CString();
  CString dir = readRegistryText(registryLocalMachine, CString(navigatorKey) + "\\" + version + "\\Main",
                                 "Install Directory");
  CString folder;
  if (dir.IsEmpty() || !netscapeFolder(dir, folder))
    return CString();
  CString candidate = folder + "Users\\" + user + "\\" + fileName;
  return fileExists(candidate) ? candidate : CString();
}

// Method 3: the install directories of every Netcaster version, the last
// enumerated first.
CString userFileFromNetcaster(const CString& user, const CString& fileName)
{
  RegistryKey netcaster;
  if (netcaster.open(registryLocalMachine, netcasterKey, registryRead) != registryOk)
    return CString();
  // A list of texts, not one comma-separated text: a directory may hold a comma.
  CStringList directories;
  char name[1024];
  for (unsigned i = 0; netcaster.enumSubKey(i, name, sizeof name) == registryOk; i++) {
    CString dir = readRegistryText(registryLocalMachine, CString(netcasterKey) + "\\" + name + "\\Main",
                                   "Install Directory");
    if (!dir.IsEmpty())
      directories.AddHead(dir);
  }
  netcaster.close();
  for (POSITION p = directories.GetHeadPosition(); p;) {
    CString dir = directories.GetNext(p);
    CString folder;
    if (netscapeFolder(dir, folder))
      dir = folder;
    if (dir.IsEmpty() || dir[dir.GetLength() - 1] != '\\')
      dir += '\\';
    CString candidate = dir + "Users\\" + user + "\\" + fileName;
    if (fileExists(candidate))
      return candidate;
  }
  return CString();
}

// Searches of a script from positions that only move forward. The first
// spelling is always preferred where it occurs at all, so once it is missing
// from some position on it is missing from every later one; remembering that
// keeps a long script with many "RETURN"s or single quotes linear.
class ForwardSearch {
public:
  explicit ForwardSearch(const CString& script) : script_(script) {}

  // The next "return", or failing that the next "RETURN" (exactly these
  // spellings), from position from; -1 when neither.
  int findReturn(int from)
  {
    return findEither(from, "return", "RETURN", noLowerReturn_);
  }
  // The next double quote, or failing that the next single one.
  int findQuote(int from)
  {
    return findEither(from, "\"", "'", noDoubleQuote_);
  }

private:
  int findEither(int from, const char* first, const char* second, bool& firstGone)
  {
    if (!firstGone) {
      int at = script_.Find(first, from);
      if (at >= 0)
        return at;
      firstGone = true;
    }
    return script_.Find(second, from);
  }

  const CString& script_;
  bool noLowerReturn_ = false;
  bool noDoubleQuote_ = false;
};

// The quoted texts after each "return", joined by "|".
CString returnTexts(const CString& script)
{
  const int returnLength = 6;
  ForwardSearch search(script);
  CString list;
  int at = search.findReturn(0);
  int y = at + returnLength;
  while (at >= 0) {
    int quote = search.findQuote(y);
    if (quote >= 0)
      y = quote + 1;
    quote = search.findQuote(y);
    if (quote >= 0) {
      if (!list.IsEmpty())
        list += '|';
      list += script.Mid(y, quote - y);
      y = quote + 1;
    }
    at = search.findReturn(y);
    if (at >= 0)
      y = at + returnLength;
  }
  return list;
}

}  // namespace

CString stripScheme(const CString& text)
{
  if (text.GetLength() >= 7) {
    CString head = upperCopy(text.Left(7));
    if (head == "HTTP://" || head == "HTTP:\\\\")
      return text.Mid(7);
  }
  return text;
}

void splitProxyServer(const CString& value, ConnectionSettings& settings)
{
  if (value.IsEmpty())
    return;
  if (value.Find('=') < 0) {
    // One server for every protocol; a ";" here means nothing.
    splitServer(stripScheme(value), settings.proxyHost, settings.proxyPort, "80");
    return;
  }
  CString upper = upperCopy(value);
  CString entry;
  if (proxyListEntry(value, upper, "HTTP=", entry))
    splitServer(entry, settings.proxyHost, settings.proxyPort, "80");
  if (proxyListEntry(value, upper, "HTTPS=", entry))
    splitServer(entry, settings.secureProxyHost, settings.secureProxyPort, "80");
  if (proxyListEntry(value, upper, "SOCKS=", entry))
    splitServer(entry, settings.socksHost, settings.socksPort, "1080");
}

CString prefsValue(const CString& line, const char* key)
{
  if (upperCopy(line).Find(upperCopy(key)) < 0)
    return CString();
  int comma = line.Find(',');
  if (comma < 0)
    return CString();
  // user_pref("network.proxy.http", "proxy.example.com");  gives  proxy.example.com
  CString value = line.Mid(comma);
  for (char c : {',', '"', ')', ';', ' '})
    value.Remove(c);
  return stripScheme(value);
}

void collectPrefsLine(const CString& line, ConnectionSettings& settings)
{
  for (const PrefsKey& entry : prefsKeys) {
    CString value = prefsValue(line, entry.key);
    if (!value.IsEmpty()) {
      settings.*entry.setting = value;
      return;
    }
  }
}

void collectPrefs(CStdioFile& file, ConnectionSettings& settings)
{
  CString line;
  while (file.ReadString(line))
    collectPrefsLine(line, settings);
}

CString findNetscapeUserFile(const CString& fileName)
{
  CString found = userFileFromUserList(fileName);
  if (!found.IsEmpty())
    return found;
  CString user = readRegistryText(registryCurrentUser, CString(navigatorKey) + "\\biff", "CurrentUser");
  if (user.IsEmpty())
    return CString();
  found = userFileFromInstallDirectory(user, fileName);
  if (!found.IsEmpty())
    return found;
  return userFileFromNetcaster(user, fileName);
}

int readAutoConfigScript(const CString& script, ConnectionSettings& settings)
{
  int type = -1;
  CString list = returnTexts(script);
  int start = 0;
  for (;;) {
    int bar = list.Find('|', start);
    CString entry = bar >= 0 ? list.Mid(start, bar - start) : list.Mid(start);
    if (entry.CompareNoCase("direct") == 0) {
      if (type == -1)
        type = connectionDirect;
    } else {
      int blank = entry.Find(' ');
      if (blank >= 0) {
        // "PROXY p:8080" or "SOCKS s:1080"; the last such entry wins.
        CString keyword = entry.Left(blank);
        CString server = entry.Mid(blank + 1);
        server.Remove(' ');
        server = stripScheme(server);
        bool socks = keyword.CompareNoCase("socks") == 0;
        CString& host = socks ? settings.socksHost : settings.proxyHost;
        CString& port = socks ? settings.socksPort : settings.proxyPort;
        splitServer(server, host, port, "");
        if (port.IsEmpty())
          port = socks ? "1080" : "80";
        type = socks ? connectionSocks : connectionProxy;
      }
    }
    if (bar < 0)
      break;
    start = bar + 1;
  }
  return type == -1 ? connectionUndetermined : type;
}
