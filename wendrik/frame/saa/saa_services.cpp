/* The interpreter services of saa.h, bound on first use through the platform's
 * saaFindService. */
#include "saa.h"

typedef ULONG SAA_ENTRY RegisterFn(const char *, const char *, const char *);
typedef ULONG SAA_ENTRY DeregisterFn(const char *);
typedef ULONG SAA_ENTRY PoolFn(void *);

ULONG saaRegisterFunctionDll(const char *name, const char *library, const char *entry)
{
  static RegisterFn *fn = reinterpret_cast<RegisterFn *>(saaFindService("RexxRegisterFunctionDll"));
  return fn ? fn(name, library, entry) : SAA_SERVICE_MISSING;
}

ULONG saaDeregisterFunction(const char *name)
{
  static DeregisterFn *fn = reinterpret_cast<DeregisterFn *>(saaFindService("RexxDeregisterFunction"));
  return fn ? fn(name) : SAA_SERVICE_MISSING;
}

ULONG saaVariablePool(void *block)
{
  static PoolFn *fn = reinterpret_cast<PoolFn *>(saaFindService("RexxVariablePool"));
  return fn ? fn(block) : SAA_SERVICE_MISSING;
}
