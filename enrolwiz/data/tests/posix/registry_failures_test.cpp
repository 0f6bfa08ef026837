// Registry failures that Wine's registry will not produce on demand: keys that
// refuse to be written, as keys with a restrictive access list do.
#include <gtest/gtest.h>

#include <memory>

#include "data/registration_record.h"
#include "data/registry_store.h"
#include "framework/posix/memory_registry.h"
#include "framework/tests/test_registry.h"

namespace {

RegistryHive::Key& lockedKey(const char* path)
{
  std::vector<std::string> components;
  splitRegistryPath(path, components);
  RegistryHive::Key& key = RegistryHive::make(memoryRegistry().root(registryCurrentUser), components, "");
  key.locked = true;
  return key;
}

class Failures : public testing::Test {
protected:
  void SetUp() override { resetTestRegistry(); }
};

}  // namespace

TEST_F(Failures, GeneralThatCannotBeMadeDoesNotStopTheSection)
{
  std::vector<std::string> path;
  splitRegistryPath("Software\\VLM\\Product Registration", path);
  RegistryHive::make(memoryRegistry().root(registryCurrentUser), path, "");
  lockedKey("Software\\VLM\\Product Registration\\General");
  EXPECT_EQ(RegistryStore::ensureKeys("VLM"), registryOk);
  EXPECT_EQ(RegistryStore::writeText("VLM", "prodName", "P"), registryOk);
  EXPECT_EQ(RegistryStore::readText("VLM", "prodName"), "P");
  EXPECT_EQ(RegistryStore::writeText("General", "city", "C"), registryAccessDenied);
  EXPECT_EQ(RegistryStore::readText("General", "city"), "");
}

TEST_F(Failures, AChainThatCannotBeMadeSkipsTheValue)
{
  lockedKey("Software\\VLM");
  EXPECT_EQ(RegistryStore::ensureKeys("VLM"), registryAccessDenied);
  EXPECT_EQ(RegistryStore::writeText("VLM", "prodName", "P"), registryAccessDenied);
  EXPECT_EQ(RegistryStore::writeInteger("VLM", "q5", 1), registryAccessDenied);
  EXPECT_FALSE(testKeyExists(registryCurrentUser, "Software\\VLM\\Product Registration"));
}

TEST_F(Failures, SaveGoesOnPastAValueThatFails)
{
  lockedKey("Software\\VLM\\Product Registration\\VLM");
  testing::internal::CaptureStdout();
  std::unique_ptr<RegistrationRecord> record(new RegistrationRecord);
  testing::internal::GetCapturedStdout();
  record->nameView().setFirstName("Ann");
  record->setClientNumber("X1");
  record->setPurchaseReason("Price", 10);
  record->save();
  EXPECT_EQ(RegistryStore::readText("General", "firstName"), "Ann");
  EXPECT_EQ(RegistryStore::readText("General", "q13"), "X1");   // written after the brand section's values
  EXPECT_EQ(RegistryStore::readText("VLM", "q12"), "");
}
