// The process's in-memory registry behind the POSIX body of the registry port
// (there is no system registry to use); tests reset it and load fixtures.
#ifndef ENROLWIZ_FRAMEWORK_POSIX_MEMORY_REGISTRY_H
#define ENROLWIZ_FRAMEWORK_POSIX_MEMORY_REGISTRY_H

#include "framework/registry_hive.h"

RegistryHive& memoryRegistry();

#endif
