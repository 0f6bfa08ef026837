// Fuzz target: prefs.js lines through prefsValue and the preferences
// collection. A value never keeps the characters that prefsValue removes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/browser_settings.h"

namespace {

void checkValue(const CString& value)
{
  if (value.FindOneOf(",\");") >= 0 || value.Find(' ') >= 0)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::string text(reinterpret_cast<const char*>(data), size);
  ConnectionSettings settings;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos)
      end = text.size();
    CString line(text.substr(start, end - start).c_str());
    collectPrefsLine(line, settings);
    checkValue(prefsValue(line, "network.proxy.http"));
    start = end + 1;
  }
  for (const CString* value : {&settings.proxyHost, &settings.proxyPort, &settings.socksHost, &settings.socksPort,
                               &settings.autoConfigUrl, &settings.netscapeProxyType})
    checkValue(*value);
  return 0;
}
