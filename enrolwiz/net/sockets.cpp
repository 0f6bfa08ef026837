// The part of the sockets port common to both bodies: name lookups go through
// the test hook, when one is set, before the system's resolver; start-ups and
// cleanups are counted.
#include "net/sockets.h"

namespace {

NameLookupHook nameLookupHook = nullptr;
int startupsOpen = 0;

}  // namespace

int socketStartup()
{
  int result = systemSocketStartup();
  if (result == 0)
    ++startupsOpen;
  return result;
}

int socketCleanup()
{
  int result = systemSocketCleanup();
  if (result == 0)
    --startupsOpen;
  return result;
}

int socketStartupsOpen()
{
  return startupsOpen;
}

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
