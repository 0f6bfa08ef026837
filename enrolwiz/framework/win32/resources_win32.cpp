// Win32 body of the resource module port: module handles, LoadLibraryA and
// LoadStringA.
#include <windows.h>

#include <vector>

#include "framework/resources.h"

namespace {

ResourceModule& current()
{
  static ResourceModule module = programModule();
  return module;
}

}  // namespace

ResourceModule programModule()
{
  return reinterpret_cast<ResourceModule>(GetModuleHandleA(nullptr));
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
  return reinterpret_cast<ResourceModule>(LoadLibraryA(fileName));
}

CString loadModuleText(ResourceModule module, UINT id)
{
  HINSTANCE instance = static_cast<HINSTANCE>(module);
  // A string-table text has at most 4,097 characters; grow until it fits.
  for (int size = 256; size <= 8192; size *= 2) {
    std::vector<char> buffer(static_cast<size_t>(size));
    int n = LoadStringA(instance, id, buffer.data(), size);
    if (n <= 0)
      return CString();
    if (n < size - 1)
      return CString(buffer.data(), n);
  }
  return CString();
}
