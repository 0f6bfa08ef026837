// Registry port: the few registry calls the program makes (open, create, set a
// text, query a value, enumerate subkeys, close), in its own words. The Win32
// body calls ADVAPI32; the POSIX body works on an in-memory hive
// (framework/posix/memory_registry.h). Statuses are Windows error codes everywhere.
#ifndef ENROLWIZ_FRAMEWORK_REGISTRY_H
#define ENROLWIZ_FRAMEWORK_REGISTRY_H

enum RegistryRoot { registryCurrentUser, registryLocalMachine, registryClassesRoot };

// Access rights, the Windows values (KEY_QUERY_VALUE ... KEY_WRITE).
enum RegistryAccess : unsigned {
  registryQueryValue = 0x0001,
  registrySetValue = 0x0002,
  registryCreateSubKey = 0x0004,
  registryEnumerateSubKeys = 0x0008,
  registryRead = 0x20019,
  registryWrite = 0x20006,
};

// Value types, the Windows values (REG_NONE ... REG_MULTI_SZ).
enum RegistryType : unsigned {
  registryNone = 0,
  registryText = 1,
  registryExpandText = 2,
  registryBinary = 3,
  registryDword = 4,
  registryMultiText = 7,
};

// Statuses, the Windows values (ERROR_SUCCESS ... ERROR_KEY_DELETED).
enum RegistryStatus : long {
  registryOk = 0,
  registryNotFound = 2,
  registryAccessDenied = 5,
  registryInvalidHandle = 6,
  registryInvalidParameter = 87,
  registryBadPath = 161,
  registryMoreData = 234,
  registryNoMoreItems = 259,
  registryKeyDeleted = 1018,
};

// One open key; closed by close() or when the object goes.
class RegistryKey {
public:
  RegistryKey() = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() { close(); }

  // RegOpenKeyExA (options 0) of path under a root or an open key.
  long open(RegistryRoot root, const char* path, unsigned access);
  long open(const RegistryKey& parent, const char* path, unsigned access);
  // RegCreateKeyExA: creates or opens path under parent, class "CString", a
  // non-volatile key, access KEY_WRITE, no security attributes.
  long create(const RegistryKey& parent, const char* path);
  // RegSetValueExA of type REG_SZ: the text and its terminating zero.
  long setText(const char* name, const char* text);
  // RegQueryValueExA into a buffer of size bytes: type and size become the
  // value's; a value longer than the buffer fails (registryMoreData) and
  // leaves the buffer undefined. An empty name is the key's default value.
  long query(const char* name, unsigned& type, void* buffer, unsigned& size) const;
  // RegEnumKeyA: the name of subkey index, zero-terminated, into a buffer of
  // size characters; registryNoMoreItems past the last.
  long enumSubKey(unsigned index, char* name, unsigned size) const;
  // RegCloseKey; nothing when not open.
  void close();
  bool isOpen() const { return handle_ != nullptr; }

private:
  void* handle_ = nullptr;
};

#endif
