// The record's save and load through the registry of the host (the in-memory
// hive natively, Wine's registry under Wine): what is written where, and what a
// fresh record gets back.
#include <gtest/gtest.h>

#include <memory>

#include "data/registration_record.h"
#include "data/registry_store.h"
#include "data/tests/filled_record.h"
#include "framework/tests/map_order.h"
#include "framework/tests/test_registry.h"

namespace {

const char* const general = "Software\\VLM\\Product Registration\\General";
const char* const vlmSection = "Software\\VLM\\Product Registration\\VLM";

class Persistence : public testing::Test {
protected:
  void SetUp() override { resetTestRegistry(); }
  static std::unique_ptr<RegistrationRecord> freshRecord()
  {
    testing::internal::CaptureStdout();   // the language's diagnostic lines
    std::unique_ptr<RegistrationRecord> record(new RegistrationRecord);
    testing::internal::GetCapturedStdout();
    return record;
  }
  static std::string stored(const char* key, const char* name)
  {
    TestValue value = queryTestValue(registryCurrentUser, key, name);
    if (value.status != registryOk)
      return "(absent)";
    EXPECT_EQ(value.type, static_cast<unsigned>(registryText)) << name;
    EXPECT_FALSE(value.bytes.empty()) << name;
    if (!value.bytes.empty())
      value.bytes.pop_back();    // the terminating zero
    return value.bytes;
  }
};

}  // namespace

TEST_F(Persistence, SaveWritesEveryValueInItsSection)
{
  std::unique_ptr<RegistrationRecord> record = freshRecord();
  fillRecord(*record);
  record->setClientNumber("0123456789A4F48");
  record->addressView().setFrench(1);
  record->save();
  const char* const generalValues[][2] = {
      {"firstName", "Ann"}, {"initial", "B"}, {"lastName", "O'Hara"}, {"suffix", " "}, {"prefix", "Ms."},
      {"addr2", ""}, {"addr1", "1 Main St."}, {"city", "Springfield"}, {"stateProv", "Ontario"},
      {"country", "Canada"}, {"zip", "K1A 0B1"}, {"q6", "1"}, {"phone", "555-0100"}, {"extension", "12"},
      {"jobTitle", "Head of R&D"}, {"q1", "en_CA"}, {"company", "Example Ltd."}, {"email", "ann@example.com"},
      {"q13", "0123456789A4F48"},
  };
  for (const auto& value : generalValues) {
    EXPECT_EQ(stored(general, value[0]), value[1]) << value[0];
    EXPECT_EQ(stored(vlmSection, value[0]), "(absent)") << value[0];
  }
  const char* const brandValues[][2] = {
      {"q5", "1"}, {"q12", "VLM Business Partner"}, {"q8", "Banking"}, {"q9", "25-49"}, {"q10", "9"}, {"q11", "0"},
  };
  for (const auto& value : brandValues) {
    EXPECT_EQ(stored(vlmSection, value[0]), value[1]) << value[0];
    EXPECT_EQ(stored(general, value[0]), "(absent)") << value[0];
  }
}

TEST_F(Persistence, StateTextXXIsNotWritten)
{
  std::unique_ptr<RegistrationRecord> record = freshRecord();
  record->addressView().setState("Ontario", "ON");
  record->save();
  EXPECT_EQ(stored(general, "stateProv"), "Ontario");
  record->addressView().setState("xx", "XX");
  record->save();
  EXPECT_EQ(stored(general, "stateProv"), "Ontario");   // left as it was
  resetTestRegistry();
  record->save();
  EXPECT_EQ(stored(general, "stateProv"), "(absent)");
  EXPECT_EQ(stored(general, "city"), "");
}

TEST_F(Persistence, LoadGivesBackWhatWasSavedExceptTheLanguage)
{
  std::unique_ptr<RegistrationRecord> saved = freshRecord();
  fillRecord(*saved);
  saved->setClientNumber("0123456789A4F48");
  saved->addressView().setFrench(1);
  saved->setEmailContact(0);
  saved->save();

  std::unique_ptr<RegistrationRecord> record = freshRecord();
  record->load();
  const FieldMap& fields = record->fields();
  const char* const mapValues[][2] = {
      {"firstName", "Ann"}, {"initial", "B"}, {"lastName", "O'Hara"}, {"addr2", ""}, {"addr1", "1 Main St."},
      {"city", "Springfield"}, {"zip", "K1A 0B1"}, {"q6", "fr_CA"}, {"phone", "555-0100"}, {"extension", "12"},
      {"jobTitle", "Head of R&D"}, {"company", "Example Ltd."}, {"email", "ann@example.com"}, {"q5", ""},
      {"q11", "0"}, {"q10", "9"}, {"q13", "0123456789A4F48"},
  };
  for (const auto& value : mapValues) {
    EXPECT_TRUE(fields.has(value[0])) << value[0];
    EXPECT_EQ(fields.value(value[0]), value[1]) << value[0];
  }
  EXPECT_EQ(fields.GetCount(), static_cast<int>(sizeof mapValues / sizeof mapValues[0]));
  // The display texts come back without their map values or indexes.
  for (const char* key : {"q1", "prefix", "suffix", "stateProv", "country", "q12", "q8", "q9", "q4"})
    EXPECT_FALSE(fields.has(key)) << key;
  EXPECT_EQ(record->nameView().prefixText(), "Ms.");
  EXPECT_EQ(record->nameView().suffixText(), " ");
  EXPECT_EQ(record->nameView().prefixIndex(), -1);
  EXPECT_EQ(record->addressView().stateText(), "Ontario");
  EXPECT_EQ(record->addressView().stateCode(), "");
  EXPECT_EQ(record->addressView().countryText(), "Canada");
  EXPECT_EQ(record->addressView().countryIndex(), -1);
  EXPECT_EQ(record->addressView().french(), 1);
  EXPECT_EQ(record->emailContact(), 0);
  EXPECT_EQ(record->purchaseReasonText(), "VLM Business Partner");
  EXPECT_EQ(record->industryText(), "Banking");
  EXPECT_EQ(record->employeesText(), "25-49");
  EXPECT_EQ(record->purchaseReasonIndex(), -1);
}

TEST_F(Persistence, LoadOnAFirstRun)
{
  std::unique_ptr<RegistrationRecord> record = freshRecord();
  record->load();
  // Every text read is empty; the texts read through setters are present, so
  // the client number goes out as a blank before one is made.
  CString key, value;
  for (POSITION p = record->fields().GetStartPosition(); p;) {
    record->fields().GetNextAssoc(p, key, value);
    EXPECT_EQ(value, "") << key;
  }
  EXPECT_TRUE(record->fields().has("q13"));
  EXPECT_FALSE(record->fields().has("q5"));    // -1: the flag keeps its initial 1
  EXPECT_FALSE(record->fields().has("q6"));
  EXPECT_EQ(record->emailContact(), 1);
  EXPECT_EQ(record->addressView().french(), 0);
  EXPECT_FALSE(testKeyExists(registryCurrentUser, "Software\\VLM"));   // loading writes nothing
}
