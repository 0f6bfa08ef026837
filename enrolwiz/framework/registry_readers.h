// The two registry readers: a value as text or as a number, every failure
// giving the empty text or -1 (the callers decide what that means).
#ifndef ENROLWIZ_FRAMEWORK_REGISTRY_READERS_H
#define ENROLWIZ_FRAMEWORK_REGISTRY_READERS_H

#include "framework/cstring.h"
#include "framework/registry.h"

// The value read into 1,024 bytes, up to its first zero whatever its type;
// empty when the key or the value is missing or the value is longer.
CString readRegistryText(RegistryRoot root, const char* keyPath, const char* valueName);

// The value read into 256 bytes: a REG_SZ as atoi reads it, a REG_DWORD or
// REG_BINARY as its first four bytes (little-endian; bytes a shorter value
// lacks count as zero); -1 for any other type, a missing key or value, or a
// value longer than the buffer.
int readRegistryNumber(RegistryRoot root, const char* keyPath, const char* valueName);

#endif
