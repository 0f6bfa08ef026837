// Registries and files for the tests. Every test starts from a fresh profile
// and loads its .reg fixtures: natively into the in-memory hive, under Wine
// into Wine's own registry through regedit, with the three roots moved to a
// key of this test program (RegOverridePredefKey) that it deletes at its end,
// so test programs running at once do not meet.
#ifndef ENROLWIZ_FRAMEWORK_TESTS_TEST_REGISTRY_H
#define ENROLWIZ_FRAMEWORK_TESTS_TEST_REGISTRY_H

#include <string>

#include "framework/registry.h"

// An empty profile: HKEY_CURRENT_USER\Software and HKEY_LOCAL_MACHINE\SOFTWARE only.
void resetTestRegistry();
// Loads a .reg file; the reason when it could not be loaded, else empty.
std::string importRegistryFixture(const std::string& path);

// A REG_SZ value under root\path, the keys made as needed (through the port).
long setTestText(RegistryRoot root, const char* path, const char* name, const char* text);
// A value of any type and bytes, as another program may write it (REG_SZ
// without its terminating zero, for example).
void setTestValue(RegistryRoot root, const char* path, const char* name, unsigned type,
                  const std::string& bytes);
// What a value holds, through the port: its status, type and bytes.
struct TestValue {
  long status;
  unsigned type;
  std::string bytes;
};
TestValue queryTestValue(RegistryRoot root, const char* path, const char* name);
bool testKeyExists(RegistryRoot root, const char* path);

// The file name of the test data folder dir (the source tree's path) as this
// platform's programs name it.
std::string testDataFile(const char* dir, const char* name);
// A new empty folder, removed with its contents when the program ends.
std::string makeTestDirectory();
// dir followed by a path written with "\" separators, as the program builds them.
std::string testPath(const std::string& dir, const char* windowsPath);
// Writes a file at a path from testPath, with the folders it needs.
void writeTestFile(const std::string& path, const std::string& content);

#endif
