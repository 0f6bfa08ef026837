// POSIX body of the test host's platform services: dlopen, dlsym, chmod.
#include "library.h"

#include <dlfcn.h>
#include <sys/stat.h>

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

bool hostMakeReadOnly(const std::string &path)
{
  return chmod(path.c_str(), 0444) == 0;
}
