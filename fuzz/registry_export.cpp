// Fuzz target: the registry export text that the in-memory hive reads. What it
// reads, it writes back so that reading that again gives the same hive.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/registry_hive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::string text(reinterpret_cast<const char*>(data), size);
  RegistryHive hive;
  std::string error;
  if (!hive.importText(text, error)) {
    if (error.compare(0, 5, "line ") != 0)
      std::abort();
    return 0;
  }
  std::string exported = hive.exportText();
  RegistryHive again;
  if (!again.importText(exported, error) || again.exportText() != exported)
    std::abort();
  return 0;
}
