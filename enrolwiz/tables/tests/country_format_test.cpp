// CountryFormat by country index: numbers (by row, language or brand), state
// lists, the postal-code checks and the default country.
#include <gtest/gtest.h>

#include "framework/resources.h"
#include "string_ids.h"
#include "tables/brand_profile.h"
#include "tables/country_format.h"
#include "tables/language_profile.h"
#include "tables/operator_data.h"
#include "test_profiles.h"

namespace {

CString operatorNumber(const LanguageNumberRow* rows, int count, const char* language, int kind)
{
  for (int r = 0; r < count; ++r)
    if (CString(rows[r].languageCode) == language && rows[r].kind == kind)
      return rows[r].number;
  return "<none>";
}

class WithLanguage : public testing::Test {
protected:
  void use(int languageId)
  {
    testing::internal::CaptureStdout();
    setActiveLanguage(makeLanguageProfile(languageId));
    testing::internal::GetCapturedStdout();
  }
  void TearDown() override
  {
    setActiveLanguage(nullptr);
    setResourceModule(programModule());
  }
};

const TextLocale western("English_United States.1252");

}  // namespace

TEST(CountryFormat, VariantsByIndex)
{
  EXPECT_NE(dynamic_cast<const UnitedStatesFormat*>(makeCountryFormat(158).get()), nullptr);
  EXPECT_NE(dynamic_cast<const StateListFormat*>(makeCountryFormat(27).get()), nullptr);
  EXPECT_NE(dynamic_cast<const StateListFormat*>(makeCountryFormat(76).get()), nullptr);
  EXPECT_NE(dynamic_cast<const LanguageNumberFormat*>(makeCountryFormat(14).get()), nullptr);
  EXPECT_NE(dynamic_cast<const LanguageNumberFormat*>(makeCountryFormat(143).get()), nullptr);
  for (int i : {7, 41, 50, 51, 56, 72, 74, 112, 121, 137, 142, 157})
    EXPECT_NE(dynamic_cast<const BrandNumberFormat*>(makeCountryFormat(i).get()), nullptr) << i;
  auto plain = makeCountryFormat(0);
  EXPECT_EQ(typeid(*plain), typeid(CountryFormat));
  EXPECT_EQ(plain->countryIndex(), 0);
}

TEST(CountryFormat, NumbersFromTheRow)
{
  auto albania = makeCountryFormat(0);
  EXPECT_EQ(albania->registrationNumber(), operatorCountries[0].numbers[0]);
  EXPECT_EQ(albania->secondNumber(), operatorCountries[0].numbers[1]);
  EXPECT_EQ(albania->thirdNumberByte(), "");
  // The brand has no numbers of its own: France's comes from its row.
  EXPECT_EQ(makeCountryFormat(51)->registrationNumber(), operatorCountries[51].numbers[0]);
  auto outside = makeCountryFormat(169);
  EXPECT_EQ(outside->registrationNumber(), "");
  EXPECT_EQ(outside->stateCount(), 0);
}

TEST(CountryFormat, StateLists)
{
  auto us = makeCountryFormat(158);
  EXPECT_EQ(us->stateCount(), 51);
  EXPECT_EQ(us->stateName(0), "Alabama");
  EXPECT_EQ(us->stateCode(50), "WY");
  EXPECT_EQ(us->stateName(51), "");
  auto canada = makeCountryFormat(27);
  EXPECT_EQ(canada->stateCount(), 12);
  EXPECT_EQ(canada->stateName(7), "Ontario");
  EXPECT_EQ(canada->stateCode(7), "ON");
  auto japan = makeCountryFormat(76);
  EXPECT_EQ(japan->stateCount(), 47);
  EXPECT_EQ(japan->stateName(12), "Tokyo");
  EXPECT_EQ(japan->stateCode(12), "41");
  auto france = makeCountryFormat(51);
  EXPECT_EQ(france->stateCount(), 0);
  EXPECT_EQ(france->stateName(0), "");
  EXPECT_EQ(france->stateCode(0), "XX");
}

TEST_F(WithLanguage, BelgianNumbersFollowTheActiveLanguage)
{
  use(9);   // French
  EXPECT_EQ(makeCountryFormat(14)->registrationNumber(),
            operatorNumber(belgianNumbers, belgianNumbersCount, "FRA", 1));
  EXPECT_EQ(makeCountryFormat(143)->registrationNumber(),
            operatorNumber(swissNumbers, swissNumbersCount, "FRA", 1));
  use(11);  // German: no Belgian row
  EXPECT_EQ(makeCountryFormat(14)->registrationNumber(), " ");
  EXPECT_EQ(makeCountryFormat(143)->registrationNumber(),
            operatorNumber(swissNumbers, swissNumbersCount, "DEU", 1));
  use(13);  // Dutch
  EXPECT_EQ(makeCountryFormat(14)->registrationNumber(),
            operatorNumber(belgianNumbers, belgianNumbersCount, "NLD", 1));
}

TEST(CountryFormat, NumbersByLanguageForBrandsWithNumbersOfTheirOwn)
{
  EXPECT_EQ(numberByLanguage(14, 9, true), operatorNumber(belgianNumbers, belgianNumbersCount, "FRA", 2));
  EXPECT_EQ(numberByLanguage(143, 0, true), operatorNumber(swissNumbers, swissNumbersCount, "ITA", 2));
  EXPECT_NE(numberByLanguage(143, 0, true), numberByLanguage(143, 0, false));
  EXPECT_EQ(numberByLanguage(14, 18, false), " ");
}

class PostalCodes : public testing::Test {
protected:
  std::unique_ptr<LanguageProfile> profile = quietProfile(englishLanguageId);
  const LanguageProfile& english = *profile;
  LenientBrand optional;
};

TEST_F(PostalCodes, UnitedStates)
{
  auto us = makeCountryFormat(158);
  EXPECT_EQ(us->checkPostalCode("12345", english, brand(), western), 0u);
  EXPECT_EQ(us->checkPostalCode("12345-6789", english, brand(), western), 0u);
  EXPECT_EQ(us->checkPostalCode("1234-56789", english, brand(), western), UINT{IDS_ZIP_FIVE_DIGITS});
  EXPECT_EQ(us->checkPostalCode("1234", english, brand(), western), UINT{IDS_ZIP_FIVE_DIGITS});
  EXPECT_EQ(us->checkPostalCode("12345-67-8", english, brand(), western), UINT{IDS_ZIP_FIVE_DIGITS});
  EXPECT_EQ(us->checkPostalCode("12345 ", english, brand(), western), UINT{IDS_ZIP_FIVE_DIGITS});   // blanks are not removed
  EXPECT_EQ(us->checkPostalCode("", english, optional, western), UINT{IDS_ZIP_FIVE_DIGITS});
}

TEST_F(PostalCodes, OtherCountries)
{
  auto canada = makeCountryFormat(27);
  EXPECT_EQ(canada->checkPostalCode("K1A 0B6", english, brand(), western), 0u);
  EXPECT_EQ(canada->checkPostalCode("K1A 0B", english, brand(), western), UINT{IDS_ZIP_TOO_FEW_CHARACTERS});
  EXPECT_EQ(canada->checkPostalCode("K1A-0B6", english, brand(), western), 0u);
  EXPECT_EQ(canada->checkPostalCode("K1A.0B6", english, brand(), western), UINT{IDS_ZIP_TOO_FEW_CHARACTERS});
  EXPECT_EQ(canada->checkPostalCode("   ", english, brand(), western), UINT{IDS_ZIP_REQUIRED});
  EXPECT_EQ(canada->checkPostalCode("", english, optional, western), 0u);
  auto austria = makeCountryFormat(7);
  EXPECT_EQ(austria->checkPostalCode("1010", english, brand(), western), 0u);
  EXPECT_EQ(austria->checkPostalCode("101", english, brand(), western), UINT{IDS_ZIP_TOO_FEW_DIGITS});
  EXPECT_EQ(austria->checkPostalCode("101A", english, brand(), western), UINT{IDS_ZIP_TOO_FEW_DIGITS});
  EXPECT_EQ(austria->checkPostalCode("1-010", english, brand(), western), 0u);
  // A letter of the code page counts where letters are allowed.
  EXPECT_EQ(makeCountryFormat(105)->checkPostalCode("1234 \xC9" "B", english, brand(), western), 0u);
}

TEST(CountryFormat, DefaultCountryIsCachedAndReturnedForItsIndex)
{
  auto first = defaultCountry();
  EXPECT_EQ(first, defaultCountry());
  EXPECT_EQ(first->countryIndex(), countryIndexForLocale(currentLocaleName()));
  EXPECT_EQ(countryFormat(first->countryIndex()), first);
  int other = first->countryIndex() == 0 ? 1 : 0;
  EXPECT_NE(countryFormat(other), countryFormat(other));   // made per call
  EXPECT_EQ(countryFormat(other)->countryIndex(), other);
}
