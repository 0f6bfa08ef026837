// The part of the sockets port common to both bodies: name lookups go through
// the test hook, when one is set, before the system's resolver.
#include "net/sockets.h"

namespace {

NameLookupHook nameLookupHook = nullptr;

}  // namespace

void setNameLookupHook(NameLookupHook hook)
{
  nameLookupHook = hook;
}

const HostEntry* getHostByName(const char* name)
{
  if (nameLookupHook) {
    NameLookupAnswer answer{false, {{0, 0, 0, 0}}, wsaHostNotFound};
    if (nameLookupHook(name, answer)) {
      static HostEntry entry;
      if (!answer.found) {
        setLastSocketError(answer.error);
        return nullptr;
      }
      entry.firstAddress = answer.address;
      setLastSocketError(0);
      return &entry;
    }
  }
  return systemGetHostByName(name);
}
