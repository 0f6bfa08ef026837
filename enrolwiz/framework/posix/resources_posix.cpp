// POSIX stand-in of the resource module port: the program's module is the
// built-in string table; a resource library is a shared object, found in the
// program's folder and then the current one, that exports enrolwizResourceText.
#include <dlfcn.h>
#include <memory>
#include <string>
#include <vector>
#include <unistd.h>

#include "framework/resources.h"
#include "framework/string_table.h"

namespace {

// The program's module: a marker, distinct from every loaded library.
char programMarker;

ResourceModule& current()
{
  static ResourceModule module = &programMarker;
  return module;
}

struct LoadedLibrary {
  void* handle;
  ResourceTextLookup* lookup;
};

// Libraries stay loaded for the life of the process, as on Windows; loading
// one again gives the same module.
std::vector<std::unique_ptr<LoadedLibrary>>& loadedLibraries()
{
  static std::vector<std::unique_ptr<LoadedLibrary>> libraries;
  return libraries;
}

std::string programFolder()
{
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0)
    return std::string();
  path[n] = '\0';
  std::string full = path;
  size_t slash = full.rfind('/');
  return slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
}

}  // namespace

ResourceModule programModule()
{
  return &programMarker;
}

ResourceModule resourceModule()
{
  return current();
}

void setResourceModule(ResourceModule module)
{
  current() = module ? module : programModule();
}

ResourceModule loadResourceLibrary(const char* fileName)
{
  if (!fileName || !*fileName)
    return nullptr;
  std::string name = fileName;
  void* handle = nullptr;
  if (name.find('/') != std::string::npos) {
    handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  } else {
    for (const std::string& folder : {programFolder(), std::string("./")}) {
      if (folder.empty())
        continue;
      handle = dlopen((folder + name).c_str(), RTLD_NOW | RTLD_LOCAL);
      if (handle)
        break;
    }
  }
  if (!handle)
    return nullptr;
  for (const auto& library : loadedLibraries()) {
    if (library->handle == handle) {
      dlclose(handle);
      return library.get();
    }
  }
  auto lookup = reinterpret_cast<ResourceTextLookup*>(dlsym(handle, ENROLWIZ_RESOURCE_TEXT_SYMBOL));
  loadedLibraries().emplace_back(new LoadedLibrary{handle, lookup});
  return loadedLibraries().back().get();
}

CString loadModuleText(ResourceModule module, UINT id)
{
  if (!module || module == programModule()) {
    const char* text = builtInStringText(id);
    return CString(text ? text : "");
  }
  const LoadedLibrary* library = static_cast<const LoadedLibrary*>(module);
  const char* text = library->lookup ? library->lookup(id) : nullptr;
  return CString(text ? text : "");
}
