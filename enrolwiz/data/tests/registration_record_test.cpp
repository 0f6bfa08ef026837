// RegistrationRecord: which keys its setters make present and with what, the
// survey codes and form numbers, the views, and the client number.
#include <gtest/gtest.h>

#include <vector>

#include "framework/guid.h"
#include "data/registration_record.h"
#include "data/survey_codes.h"
#include "framework/resources.h"
#include "framework/tests/map_order.h"
#include "string_ids.h"

namespace {

class Record : public testing::Test {
protected:
  void SetUp() override
  {
    testing::internal::CaptureStdout();   // the language's diagnostic lines
    record.reset(new RegistrationRecord);
    testing::internal::GetCapturedStdout();
  }
  void TearDown() override { setResourceModule(programModule()); }

  std::unique_ptr<RegistrationRecord> record;
};

// A GUID whose 32 digits are 0 to 9 and A to V at positions 0 to 31, so each
// kept part shows which positions it came from.
const char* const guid = "{01234567-89AB-CDEF-GHIJ-KLMNOPQRSTUV}";

}  // namespace

TEST_F(Record, StartsWithNoKeysAndItsInitialFlags)
{
  EXPECT_TRUE(record->fields().IsEmpty());
  EXPECT_EQ(record->emailContact(), 1);
  EXPECT_EQ(record->registerLater(), 1);
  EXPECT_TRUE(record->isMethodLater());
  EXPECT_EQ(record->bookmarkChoice(0), 0);
  EXPECT_EQ(record->jobTitle(), "");
  EXPECT_FALSE(record->fields().has("jobTitle"));   // a getter makes no key
  EXPECT_NE(record->language(), nullptr);
}

TEST_F(Record, EmptyValuesMakeKeysPresent)
{
  record->setCompany("");
  record->nameView().setFirstName("");
  EXPECT_TRUE(record->fields().has("company"));
  EXPECT_TRUE(record->fields().has("firstName"));
  EXPECT_EQ(record->fields().GetCount(), 2);
  record->setEmail("ann@example.com");
  record->setEmail("ann@example.org");
  EXPECT_EQ(record->email(), "ann@example.org");
  EXPECT_EQ(record->fields().GetCount(), 3);
}

TEST_F(Record, CountryCodeOnlyForRowsOfTheTable)
{
  AddressView& address = record->addressView();
  address.setCountry("Germany", 56);
  EXPECT_EQ(address.countryCode(), "GE");
  EXPECT_EQ(address.countryText(), "Germany");
  EXPECT_EQ(address.countryIndex(), 56);
  address.setCountry("Nowhere", 169);
  EXPECT_TRUE(record->fields().has("country"));
  EXPECT_EQ(address.countryCode(), "");
  address.setCountry("", -1);
  EXPECT_EQ(record->fields().value("country"), "");
}

TEST_F(Record, StateWithAndWithoutACode)
{
  AddressView& address = record->addressView();
  address.setState("Ontario", "ON");
  EXPECT_EQ(record->fields().value("stateProv"), "ON");
  EXPECT_EQ(address.stateText(), "Ontario");
  EXPECT_EQ(address.stateCode(), "ON");
  address.setState("Ontario", "  ");
  EXPECT_TRUE(record->fields().has("stateProv"));
  EXPECT_EQ(record->fields().value("stateProv"), "");
  EXPECT_EQ(address.stateText(), "");
  address.setState("Quebec", "");
  EXPECT_EQ(address.stateText(), "");
}

TEST_F(Record, FlagsWriteTheirCodes)
{
  record->setEmailContact(1);
  EXPECT_EQ(record->fields().value("q5"), "EMAILCON");
  record->setEmailContact(0);
  EXPECT_EQ(record->fields().value("q5"), "");
  EXPECT_EQ(record->emailContact(), 0);
  record->setEmailContact(2);
  EXPECT_EQ(record->fields().value("q5"), "");
  record->addressView().setFrench(1);
  EXPECT_EQ(record->fields().value("q6"), "fr_CA");
  record->addressView().setFrench(0);
  EXPECT_EQ(record->fields().value("q6"), "");
  record->setQuestion10(loadText(IDS_INSTALLATION_LOCATION));
  record->setQuestion11(loadText(IDS_BENEFITS_EMAIL));
  record->setQuestion4(loadText(IDS_QUESTION4));
  record->setLanguageCode("en_US");
  EXPECT_EQ(record->fields().value("q10"), "9");
  EXPECT_EQ(record->fields().value("q11"), "0");
  EXPECT_EQ(record->fields().value("q4"), "5");
  EXPECT_EQ(record->languageCode(), "en_US");
}

TEST_F(Record, PrefixAndSuffixByIndex)
{
  NameView& name = record->nameView();
  name.setPrefix("Dr.", 4);
  EXPECT_EQ(record->fields().value("prefix"), "Dr.");
  name.setPrefix("Prof.", 5);
  EXPECT_EQ(record->fields().value("prefix"), "");
  EXPECT_EQ(name.prefixText(), "Prof.");
  EXPECT_EQ(name.prefixIndex(), 5);
  name.setSuffix(" ", 0);
  EXPECT_EQ(record->fields().value("suffix"), " ");
  name.setSuffix("V", 9);
  EXPECT_EQ(record->fields().value("suffix"), "V");
  name.setSuffix("VI", 10);
  EXPECT_EQ(record->fields().value("suffix"), "");
  name.setSuffixText("Jr.");   // loading touches only the display text
  EXPECT_EQ(name.suffixText(), "Jr.");
  EXPECT_EQ(record->fields().value("suffix"), "");
}

TEST_F(Record, SurveyAnswersCarryCodesAndFormNumbers)
{
  record->setPurchaseReason("VLM Business Partner", 7);
  EXPECT_EQ(record->fields().value("q12"), "VBP");
  EXPECT_EQ(record->purchaseReasonFormNumber(), "4");
  EXPECT_EQ(record->purchaseReasonText(), "VLM Business Partner");
  record->setEmployees("25-49", 2);
  EXPECT_EQ(record->fields().value("q9"), "25-49");
  EXPECT_EQ(record->employeesFormNumber(), "5");
  record->setEmployees("more", 13);
  EXPECT_TRUE(record->fields().has("q9"));
  EXPECT_EQ(record->fields().value("q9"), "");
  EXPECT_EQ(record->employeesText(), "");
  EXPECT_EQ(record->employeesFormNumber(), "");
  record->setIndustry("Other", 24);
  EXPECT_EQ(record->fields().value("q8"), "OTHR");
  EXPECT_EQ(record->industryFormNumber(), "25");
  record->setIndustry("", -1);
  EXPECT_EQ(record->fields().value("q8"), "");
  record->setIndustryText("Banking");   // loading: text only
  EXPECT_EQ(record->industryText(), "Banking");
  EXPECT_EQ(record->fields().value("q8"), "");
}

TEST(SurveyCodes, TablesAndTheirLabels)
{
  EXPECT_EQ(purchaseReasons.count, 11);
  EXPECT_EQ(industries.count, 25);
  EXPECT_EQ(employeeCounts.count, 13);
  EXPECT_EQ(employeeCounts.code(7), "1K-1999");
  EXPECT_EQ(loadText(employeeCounts.row(7)->labelId), "1,000-1,999");
  EXPECT_EQ(loadText(industries.row(17)->labelId), "Professional Practice (medicine, law, accounting)");
  EXPECT_EQ(industries.code(25), "");
  EXPECT_EQ(purchaseReasons.formNumber(10), "7");
  // Labels follow each other from the table's first id.
  for (const SurveyCodeTable* t : {&purchaseReasons, &industries, &employeeCounts})
    for (int i = 0; i < t->count; ++i)
      EXPECT_EQ(t->rows[i].labelId, t->rows[0].labelId + static_cast<UINT>(i));
}

TEST_F(Record, KeysComeInTheRequestOrder)
{
  record->setEmail("a@b.c");
  record->setQuestion4("5");
  record->nameView().setLastName("Li");
  record->nameView().setFirstName("Ann");
  record->addressView().setCountry("Germany", 56);
  std::vector<CString> expected = {"country", "firstName", "lastName", "q4", "email"};
  EXPECT_EQ(keysInOrder(record->fields()), expected);
}

TEST(ClientNumber, TwoLetterLastName)
{
  CString number = clientNumberFromGuid(guid, "Ann", "Li");
  EXPECT_EQ(number, "LMNOPQRSTUV4C69");   // GUID digits 21 to 31, then "L" and "i"
  EXPECT_EQ(clientNumberFromGuid(guid, "", "Li"), number);
}

TEST(ClientNumber, OneLetterLastName)
{
  EXPECT_EQ(clientNumberFromGuid(guid, "Ann", "X"), "LMNOPQRSTUV5841");
  EXPECT_EQ(clientNumberFromGuid(guid, "", "X"), "JKLMNOPQRSTUV58");
}

TEST(ClientNumber, EmptyLastName)
{
  CString number = clientNumberFromGuid(guid, "Ann", "");
  EXPECT_EQ(number, "LMNOPQRSTUV041");
  EXPECT_EQ(number.GetLength(), 14);
}

TEST(ClientNumber, BytesAboveTheAsciiRangeAreUnsigned)
{
  EXPECT_EQ(clientNumberFromGuid(guid, "", "\xE9\xFC"), "LMNOPQRSTUVE9FC");
  EXPECT_EQ(clientNumberFromGuid("", "Ann", "Li"), "");
  EXPECT_EQ(clientNumberFromGuid("{0123}", "Ann", "Li"), "");
}

TEST(ClientNumber, GuidsFromTheSystem)
{
  CString a = newGuidText();
  CString b = newGuidText();
  ASSERT_EQ(a.GetLength(), 38);
  EXPECT_EQ(a[0], '{');
  EXPECT_EQ(a[37], '}');
  EXPECT_EQ(a[9], '-');
  EXPECT_NE(a, b);
  CString digits = a.Mid(1, 36);
  digits.Remove('-');
  EXPECT_EQ(digits.GetLength(), 32);
  EXPECT_EQ(digits.FindOneOf("abcdefghijklmnopqrstuvwxyz"), -1);
}

TEST_F(Record, ClientNumberIsMadeOnlyWhenMissing)
{
  record->nameView().setFirstName("Ann");
  record->nameView().setLastName("Li");
  EXPECT_TRUE(record->makeClientNumberIfMissing());
  CString made = record->clientNumber();
  EXPECT_EQ(made.GetLength(), 15);
  EXPECT_EQ(made.Right(4), "4C69");
  EXPECT_FALSE(record->makeClientNumberIfMissing());
  EXPECT_EQ(record->clientNumber(), made);
}

TEST(RegistrationRecordSingleton, CreatedOnFirstUseAndDeleted)
{
  testing::internal::CaptureStdout();
  RegistrationRecord& first = RegistrationRecord::instance();
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(&first, &RegistrationRecord::instance());
  first.setCompany("VLM");
  RegistrationRecord::deleteInstance();
  EXPECT_FALSE(RegistrationRecord::instance().fields().has("company"));
  RegistrationRecord::deleteInstance();
  setResourceModule(programModule());
}
