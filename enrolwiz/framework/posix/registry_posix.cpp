// POSIX body of the registry port: the calls on the in-memory hive, with the
// checks the system makes (access rights of the handle, missing keys, buffer
// sizes) and its error codes.
#include <cstring>

#include "framework/posix/memory_registry.h"
#include "framework/registry.h"

namespace {

// A key is named by its path, found again on every call, so a handle to a key
// removed meanwhile fails as the system's does.
struct Handle {
  RegistryRoot root;
  std::vector<std::string> path;
  unsigned access;
};

Handle* handleOf(void* handle)
{
  return static_cast<Handle*>(handle);
}

RegistryHive::Key* keyOf(const Handle& handle)
{
  return RegistryHive::find(memoryRegistry().root(handle.root), handle.path);
}

bool wantsWrite(unsigned access)
{
  return (access & (registrySetValue | registryCreateSubKey)) != 0;
}

long openAt(RegistryRoot root, std::vector<std::string> path, const char* subPath, unsigned access,
            void*& result)
{
  std::vector<std::string> more;
  if (!splitRegistryPath(subPath ? subPath : "", more))
    return registryBadPath;
  path.insert(path.end(), more.begin(), more.end());
  RegistryHive::Key* key = RegistryHive::find(memoryRegistry().root(root), path);
  if (!key)
    return registryNotFound;
  if (key->locked && wantsWrite(access))
    return registryAccessDenied;
  result = new Handle{root, path, access};
  return registryOk;
}

// The key of an open handle that was opened with the right the call needs.
long keyWithAccess(void* handle, unsigned right, RegistryHive::Key*& key)
{
  if (!handle)
    return registryInvalidHandle;
  key = keyOf(*handleOf(handle));
  if (!key)
    return registryKeyDeleted;
  return (handleOf(handle)->access & right) ? registryOk : registryAccessDenied;
}

}  // namespace

RegistryHive& memoryRegistry()
{
  static RegistryHive hive;
  return hive;
}

long RegistryKey::open(RegistryRoot root, const char* path, unsigned access)
{
  close();
  return openAt(root, {}, path, access, handle_);
}

long RegistryKey::open(const RegistryKey& parent, const char* path, unsigned access)
{
  if (!parent.handle_)
    return registryInvalidHandle;
  Handle from = *handleOf(parent.handle_);
  close();
  if (!keyOf(from))
    return registryKeyDeleted;
  return openAt(from.root, from.path, path, access, handle_);
}

long RegistryKey::create(const RegistryKey& parent, const char* path)
{
  if (!parent.handle_)
    return registryInvalidHandle;
  Handle from = *handleOf(parent.handle_);
  close();
  RegistryHive::Key* key = keyOf(from);
  if (!key)
    return registryKeyDeleted;
  std::vector<std::string> more;
  if (!splitRegistryPath(path ? path : "", more))
    return registryBadPath;
  std::vector<std::string> full = from.path;
  for (const std::string& name : more) {
    RegistryHive::Key* next = key->subkey(name);
    if (!next) {
      // Creating needs the right to create subkeys of the key above.
      if (!(from.access & registryCreateSubKey) && full.size() == from.path.size())
        return registryAccessDenied;
      if (key->locked)
        return registryAccessDenied;
      next = &RegistryHive::make(*key, {name}, "CString");
    }
    key = next;
    full.push_back(name);
  }
  if (key->locked)
    return registryAccessDenied;
  handle_ = new Handle{from.root, full, registryWrite};
  return registryOk;
}

long RegistryKey::setText(const char* name, const char* text)
{
  RegistryHive::Key* key = nullptr;
  long status = keyWithAccess(handle_, registrySetValue, key);
  if (status != registryOk)
    return status;
  RegistryHive::setValue(*key, name ? name : "", registryText, std::string(text, std::strlen(text) + 1));
  return registryOk;
}

long RegistryKey::query(const char* name, unsigned& type, void* buffer, unsigned& size) const
{
  RegistryHive::Key* key = nullptr;
  long status = keyWithAccess(handle_, registryQueryValue, key);
  if (status != registryOk)
    return status;
  RegistryHive::Value* value = key->value(name ? name : "");
  if (!value)
    return registryNotFound;
  type = value->type;
  unsigned room = size;
  size = static_cast<unsigned>(value->data.size());
  if (value->data.size() > room)
    return registryMoreData;
  if (buffer)
    std::memcpy(buffer, value->data.data(), value->data.size());
  return registryOk;
}

long RegistryKey::enumSubKey(unsigned index, char* name, unsigned size) const
{
  RegistryHive::Key* key = nullptr;
  long status = keyWithAccess(handle_, registryEnumerateSubKeys, key);
  if (status != registryOk)
    return status;
  if (index >= key->subkeys.size())
    return registryNoMoreItems;
  auto sub = key->subkeys.begin();
  std::advance(sub, index);
  const std::string& found = sub->second->name;
  if (found.size() + 1 > size)
    return registryMoreData;
  std::memcpy(name, found.c_str(), found.size() + 1);
  return registryOk;
}

void RegistryKey::close()
{
  delete handleOf(handle_);
  handle_ = nullptr;
}
