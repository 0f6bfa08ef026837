// Fuzz target: the "return" texts of a proxy auto-configuration script. The
// type is one of 1, 3, 4 and 5, and a server type always has a port.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/browser_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::string text(reinterpret_cast<const char*>(data), size);
  ConnectionSettings settings;
  int type = readAutoConfigScript(CString(text.c_str()), settings);
  switch (type) {
  case connectionDirect:
  case connectionUndetermined:
    break;
  case connectionSocks:
    if (settings.socksPort.IsEmpty())
      std::abort();
    break;
  case connectionProxy:
    if (settings.proxyPort.IsEmpty())
      std::abort();
    break;
  default:
    std::abort();
  }
  return 0;
}
