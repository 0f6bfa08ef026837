// Fuzz target: the split of Internet Explorer's "ProxyServer" value. Hosts are
// always taken from the value itself.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/browser_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::string text(reinterpret_cast<const char*>(data), size);
  CString value(text.c_str());
  ConnectionSettings settings;
  splitProxyServer(value, settings);
  if (value.IsEmpty() && !settings.proxyPort.IsEmpty())
    std::abort();
  if (value.Find(settings.proxyHost) < 0 || value.Find(settings.socksHost) < 0)
    std::abort();
  return 0;
}
