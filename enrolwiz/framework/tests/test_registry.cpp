// The port-based helpers of the test registries.
#include "framework/tests/test_registry.h"

long setTestText(RegistryRoot root, const char* path, const char* name, const char* text)
{
  RegistryKey top, key;
  long status = top.open(root, "", registryCreateSubKey);
  if (status == registryOk)
    status = key.create(top, path);
  if (status == registryOk) {
    // create() opens for writing; setting a value needs only that.
    status = key.setText(name, text);
  }
  return status;
}

TestValue queryTestValue(RegistryRoot root, const char* path, const char* name)
{
  TestValue value{registryOk, registryNone, std::string()};
  RegistryKey key;
  value.status = key.open(root, path, registryQueryValue);
  if (value.status != registryOk)
    return value;
  char buffer[4096];
  unsigned size = sizeof buffer;
  value.status = key.query(name, value.type, buffer, size);
  if (value.status == registryOk)
    value.bytes.assign(buffer, size);
  return value;
}

bool testKeyExists(RegistryRoot root, const char* path)
{
  RegistryKey key;
  return key.open(root, path, registryQueryValue) == registryOk;
}
