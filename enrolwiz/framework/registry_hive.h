// RegistryHive: an in-memory registry (keys and value names compared ignoring
// ASCII case, values as typed bytes) that reads and writes the text of registry
// export files ("REGEDIT4"). It is the POSIX body of the registry port, where
// tests load the same .reg fixtures that regedit loads into Wine's registry.
#ifndef ENROLWIZ_FRAMEWORK_REGISTRY_HIVE_H
#define ENROLWIZ_FRAMEWORK_REGISTRY_HIVE_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/registry.h"

// Ordering of key and value names as the registry has it: ASCII case folded.
struct RegistryNameLess {
  bool operator()(const std::string& a, const std::string& b) const;
};
bool sameRegistryName(const std::string& a, const std::string& b);

// The components of a key path ("Software\VLM"); one trailing "\" is allowed,
// an empty path is the key itself. False for an empty component.
bool splitRegistryPath(const std::string& path, std::vector<std::string>& components);

// One change read from an export file, in file order.
struct RegistryEdit {
  enum Kind { addKey, removeKey, setValue, removeValue };
  Kind kind = addKey;
  RegistryRoot root = registryCurrentUser;
  std::vector<std::string> path;
  std::string name;       // value name; empty for the default value ("@")
  unsigned type = registryNone;
  std::string data;       // the value's bytes (a REG_SZ with its terminating zero)
};

// Reads the text of an export file: the "REGEDIT4" line, then key lines
// "[HKEY_CURRENT_USER\...]" ("[-...]" removes the key and its subkeys) and
// value lines "name"=... or @=... with "text" (escapes \\ and \"), dword:N,
// hex:bytes, hex(T):bytes (REG_MULTI_SZ is hex(7)), a line ending in "\"
// continuing the bytes, or - (removes the value); ";" starts a comment line.
// False, with the line number and the reason in error, on anything else.
bool parseRegistryExport(const std::string& text, std::vector<RegistryEdit>& edits, std::string& error);

class RegistryHive {
public:
  struct Value {
    std::string name;
    unsigned type = registryNone;
    std::string data;
  };
  struct Key {
    std::string name;
    std::string className;
    bool locked = false;   // refuses write access, as a key whose access list forbids it
    std::vector<Value> values;
    std::map<std::string, std::unique_ptr<Key>, RegistryNameLess> subkeys;

    Value* value(const std::string& name);
    Key* subkey(const std::string& name);
  };

  // A fresh user profile: the three roots, with HKEY_CURRENT_USER\Software and
  // HKEY_LOCAL_MACHINE\SOFTWARE, as every Windows installation has them.
  RegistryHive();
  void reset();

  Key& root(RegistryRoot root) { return roots_[root]; }
  // The key at path below from; nullptr when a component is missing.
  static Key* find(Key& from, const std::vector<std::string>& path);
  // The key at path below from, created with its parents where missing.
  static Key& make(Key& from, const std::vector<std::string>& path, const std::string& className);
  static void setValue(Key& key, const std::string& name, unsigned type, const std::string& data);

  // Applies an export file; nothing is changed when it does not parse.
  bool importText(const std::string& text, std::string& error);
  // The whole hive as an export file (CR LF line ends, as regedit writes).
  std::string exportText() const;

private:
  Key roots_[3];
};

#endif
