// Win32 body of the test host's library loading: LoadLibraryA, GetProcAddress.
#include "library.h"

#include <windows.h>

static HMODULE library;

bool hostOpenLibrary(const std::string &path, std::string &error)
{
  library = LoadLibraryA(path.c_str());
  if (!library)
    error = "LoadLibrary failed with error " + std::to_string(GetLastError());
  return library != nullptr;
}

SaaExternalFunction *hostFindEntry(const std::string &entry)
{
  return library ? reinterpret_cast<SaaExternalFunction *>(reinterpret_cast<void *>(GetProcAddress(library, entry.c_str())))
                 : nullptr;
}
