// Win32 body of the registry port: ADVAPI32's RegOpenKeyExA, RegCreateKeyExA,
// RegSetValueExA, RegQueryValueExA, RegEnumKeyA and RegCloseKey.
#include <windows.h>

#include <cstring>

#include "framework/registry.h"

namespace {

HKEY rootKey(RegistryRoot root)
{
  switch (root) {
  case registryLocalMachine:
    return HKEY_LOCAL_MACHINE;
  case registryClassesRoot:
    return HKEY_CLASSES_ROOT;
  default:
    return HKEY_CURRENT_USER;
  }
}

HKEY handleOf(void* handle)
{
  return static_cast<HKEY>(handle);
}

}  // namespace

long RegistryKey::open(RegistryRoot root, const char* path, unsigned access)
{
  close();
  HKEY key = nullptr;
  LONG status = RegOpenKeyExA(rootKey(root), path, 0, access, &key);
  if (status == ERROR_SUCCESS)
    handle_ = key;
  return status;
}

long RegistryKey::open(const RegistryKey& parent, const char* path, unsigned access)
{
  if (!parent.handle_)
    return registryInvalidHandle;
  close();
  HKEY key = nullptr;
  LONG status = RegOpenKeyExA(handleOf(parent.handle_), path, 0, access, &key);
  if (status == ERROR_SUCCESS)
    handle_ = key;
  return status;
}

long RegistryKey::create(const RegistryKey& parent, const char* path)
{
  if (!parent.handle_)
    return registryInvalidHandle;
  close();
  HKEY key = nullptr;
  DWORD disposition = 0;
  char keyClass[] = "CString";
  LONG status = RegCreateKeyExA(handleOf(parent.handle_), path, 0, keyClass, REG_OPTION_NON_VOLATILE,
                                KEY_WRITE, nullptr, &key, &disposition);
  if (status == ERROR_SUCCESS)
    handle_ = key;
  return status;
}

long RegistryKey::setText(const char* name, const char* text)
{
  if (!handle_)
    return registryInvalidHandle;
  return RegSetValueExA(handleOf(handle_), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                        static_cast<DWORD>(std::strlen(text) + 1));
}

long RegistryKey::query(const char* name, unsigned& type, void* buffer, unsigned& size) const
{
  if (!handle_)
    return registryInvalidHandle;
  DWORD valueType = REG_NONE;
  DWORD valueSize = size;
  LONG status = RegQueryValueExA(handleOf(handle_), name, nullptr, &valueType,
                                 static_cast<BYTE*>(buffer), &valueSize);
  type = valueType;
  size = valueSize;
  return status;
}

long RegistryKey::enumSubKey(unsigned index, char* name, unsigned size) const
{
  if (!handle_)
    return registryInvalidHandle;
  return RegEnumKeyA(handleOf(handle_), index, name, size);
}

void RegistryKey::close()
{
  if (handle_)
    RegCloseKey(handleOf(handle_));
  handle_ = nullptr;
}
