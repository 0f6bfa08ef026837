// The name, address and phone checks: which message the first failure
// carries, with which focus control, by language, brand and country.
#include <gtest/gtest.h>

#include "app/reg_exception.h"
#include "string_ids.h"
#include "tables/country_format.h"
#include "test_profiles.h"

namespace {

const TextLocale western("English_United States.1252");
CWnd* const firstNameBox = reinterpret_cast<CWnd*>(1009);
CWnd* const lastNameBox = reinterpret_cast<CWnd*>(1010);
CWnd* const streetBox = reinterpret_cast<CWnd*>(1017);
CWnd* const poBoxBox = reinterpret_cast<CWnd*>(1018);
CWnd* const postalCodeBox = reinterpret_cast<CWnd*>(1014);
CWnd* const phoneBox = reinterpret_cast<CWnd*>(1013);

struct Failure {
  UINT id;
  CWnd* focus;
  bool operator==(const Failure& o) const { return id == o.id && focus == o.focus; }
};

std::ostream& operator<<(std::ostream& out, const Failure& f)
{
  return out << "message " << f.id << " focus " << f.focus;
}

const Failure passed{0, nullptr};

template <typename Check>
Failure outcome(Check check)
{
  try {
    check();
  } catch (CRegException* e) {
    Failure f{e->messageId(), e->focusControl()};
    e->Delete();
    return f;
  }
  return passed;
}

NameFields names(const char* first, const char* last, const char* prefix = "Mr.")
{
  NameFields f;
  f.firstName = {first, firstNameBox};
  f.lastName = {last, lastNameBox};
  f.prefix = {prefix, nullptr};
  return f;
}

AddressFields address(const char* poBox, const char* street, const char* zip = "12345")
{
  AddressFields f;
  f.poBox = {poBox, poBoxBox};
  f.street = {street, streetBox};
  f.city = {"Springfield", nullptr};
  f.state = {"Ohio", nullptr};
  f.postalCode = {zip, postalCodeBox};
  f.countrySelected = true;
  return f;
}

PhoneFields phone(const char* number)
{
  PhoneFields f;
  f.phone = {number, phoneBox};
  return f;
}

class Checks : public testing::Test {
protected:
  std::unique_ptr<LanguageProfile> english = quietProfile(englishLanguageId);
  VlmBrand vlm;
  std::shared_ptr<const CountryFormat> us = makeCountryFormat(unitedStatesIndex);
};

}  // namespace

TEST_F(Checks, NamesInOrderWithTheirFocus)
{
  auto check = [&](const NameFields& f) {
    return outcome([&] { us->checkNames(f, *english, vlm, western); });
  };
  EXPECT_EQ(check(names("Ann", "Li")), passed);
  EXPECT_EQ(check(names("", "")), (Failure{IDS_FIRST_NAME_REQUIRED, firstNameBox}));
  EXPECT_EQ(check(names("Ann", " ")), (Failure{IDS_LAST_NAME_REQUIRED, lastNameBox}));
  EXPECT_EQ(check(names("Ann2", "Li")), (Failure{IDS_ALPHABETIC_ONLY, firstNameBox}));
  EXPECT_EQ(check(names("Ann", "L|i")), (Failure{IDS_FORBIDDEN_CHARACTERS, lastNameBox}));
  EXPECT_EQ(check(names("Ann", "Li", "")), (Failure{IDS_PREFIX_REQUIRED, nullptr}));
  EXPECT_EQ(check(names("Ann", "Li", "M\\r")), (Failure{IDS_FORBIDDEN_CHARACTERS, nullptr}));
  NameFields suffix = names("Ann", "Li");
  suffix.suffix = {"J|r", nullptr};
  EXPECT_EQ(check(suffix), (Failure{IDS_FORBIDDEN_CHARACTERS, nullptr}));
}

TEST_F(Checks, ChineseChecksTheLastNameFirstAndJapaneseNeedsAPrefix)
{
  auto chinese = quietProfile(5);
  EXPECT_EQ(outcome([&] { us->checkNames(names("", ""), *chinese, vlm, western); }),
            (Failure{IDS_LAST_NAME_REQUIRED, lastNameBox}));
  auto japanese = quietProfile(4);
  LenientBrand lenient;
  EXPECT_EQ(outcome([&] { us->checkNames(names("Ann", "Li", ""), *japanese, lenient, western); }),
            (Failure{IDS_PREFIX_REQUIRED, nullptr}));
  // Japanese uses the suffix, which then must not be empty either.
  EXPECT_EQ(outcome([&] { us->checkNames(names("Ann", "Li", "Mr."), *japanese, lenient, western); }).id, 606u);
  EXPECT_EQ(outcome([&] { us->checkNames(names("Ann", "Li", ""), *english, lenient, western); }), passed);
  // A required initial takes the first name's message.
  StrictBrand strict;
  EXPECT_EQ(outcome([&] { us->checkNames(names("Ann", "Li"), *english, strict, western); }).id, UINT{IDS_FIRST_NAME_REQUIRED});
}

TEST_F(Checks, AddressLinesNeedLetters)
{
  auto check = [&](const AddressFields& f) {
    return outcome([&] { us->checkAddress(f, *english, vlm, western); });
  };
  EXPECT_EQ(check(address("", "1 Main Street")), passed);
  EXPECT_EQ(check(address("", "123")), (Failure{IDS_ADDRESS_NEEDS_LETTERS, streetBox}));
  EXPECT_EQ(check(address("PO Box 123", "")), passed);
  EXPECT_EQ(check(address("123", "Main Street")), (Failure{IDS_ADDRESS_NEEDS_LETTERS, poBoxBox}));
  EXPECT_EQ(check(address("PO Box 1", "12")), (Failure{IDS_ADDRESS_NEEDS_LETTERS, streetBox}));
  EXPECT_EQ(check(address("", "")), (Failure{IDS_ADDRESS_REQUIRED, streetBox}));
  EXPECT_EQ(check(address("", "Main\\Street")), (Failure{IDS_FORBIDDEN_CHARACTERS, streetBox}));
  AddressFields noCity = address("", "Main Street");
  noCity.city.text = "";
  EXPECT_EQ(check(noCity).id, UINT{IDS_CITY_REQUIRED});
  AddressFields noState = address("", "Main Street");
  noState.state.text = " ";
  EXPECT_EQ(check(noState).id, UINT{IDS_STATE_REQUIRED});
  AddressFields noCountry = address("", "Main Street");
  noCountry.countrySelected = false;
  EXPECT_EQ(check(noCountry).id, UINT{IDS_COUNTRY_REQUIRED});
}

TEST_F(Checks, PostalCodesInTheAddressCheck)
{
  auto check = [&](const CountryFormat& country, const AddressFields& f) {
    return outcome([&] { country.checkAddress(f, *english, vlm, western); });
  };
  EXPECT_EQ(check(*us, address("", "Main Street", "")), (Failure{IDS_ZIP_REQUIRED, postalCodeBox}));
  EXPECT_EQ(check(*us, address("", "Main Street", "1234")), (Failure{IDS_ZIP_FIVE_DIGITS, postalCodeBox}));
  AddressFields kept = address("", "Main Street", "1234");
  kept.postalCodeAccepted = true;
  EXPECT_EQ(check(*us, kept), passed);
  auto austria = makeCountryFormat(7);
  EXPECT_EQ(check(*austria, address("", "Ring 1", "101")), (Failure{IDS_ZIP_TOO_FEW_DIGITS, postalCodeBox}));
  auto canada = makeCountryFormat(canadaIndex);
  EXPECT_EQ(check(*canada, address("", "Main Street", "K1A 0B")), (Failure{IDS_ZIP_TOO_FEW_CHARACTERS, postalCodeBox}));
  // No state list for France in English: a blank state passes; nor in
  // Japanese, whose flag asks for a state in every country.
  AddressFields france = address("", "Rue 1", "75001");
  france.state.text = "";
  EXPECT_EQ(check(*makeCountryFormat(51), france), passed);
  std::unique_ptr<LanguageProfile> japanese = quietProfile(4);
  EXPECT_EQ(outcome([&] { makeCountryFormat(51)->checkAddress(france, *japanese, vlm, western); }), passed);
  EXPECT_EQ(outcome([&] { makeCountryFormat(japanIndex)->checkAddress(france, *japanese, vlm, western); }).id, UINT{IDS_STATE_REQUIRED});
}

TEST_F(Checks, SpanishHasNoPoBoxLine)
{
  auto spanish = quietProfile(10);
  EXPECT_EQ(outcome([&] { makeCountryFormat(137)->checkAddress(address("123", "Calle 5", "28001"), *spanish, vlm, western); }),
            passed);
}

TEST_F(Checks, PhoneNumbers)
{
  auto check = [&](const CountryFormat& country, const PhoneFields& f, const BrandProfile& b) {
    return outcome([&] { country.checkPhone(f, *english, b, western); });
  };
  EXPECT_EQ(check(*us, phone("(555) 010-0158"), vlm), passed);
  EXPECT_EQ(check(*us, phone("+1 555 010 0158"), vlm), passed);
  EXPECT_EQ(check(*us, phone("555 010 015"), vlm), (Failure{IDS_PHONE_TOO_SHORT, phoneBox}));
  EXPECT_EQ(check(*us, phone("5550100158x12"), vlm), (Failure{IDS_PHONE_TOO_SHORT, phoneBox}));
  EXPECT_EQ(check(*us, phone(""), vlm), passed);
  StrictBrand strict;
  EXPECT_EQ(check(*us, phone(""), strict), (Failure{IDS_PHONE_REQUIRED, phoneBox}));
  PhoneFields kept = phone("555 010 015");
  kept.accepted = true;
  EXPECT_EQ(check(*us, kept, vlm), passed);
  EXPECT_EQ(check(*makeCountryFormat(0), phone("5"), vlm), passed);   // a minimum of one digit
}
