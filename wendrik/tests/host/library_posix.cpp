// POSIX body of the test host's library loading: dlopen, dlsym.
#include "library.h"

#include <dlfcn.h>

static void *library;

bool hostOpenLibrary(const std::string &path, std::string &error)
{
  library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library)
    error = dlerror();
  return library != nullptr;
}

SaaExternalFunction *hostFindEntry(const std::string &entry)
{
  return library ? reinterpret_cast<SaaExternalFunction *>(dlsym(library, entry.c_str())) : nullptr;
}
