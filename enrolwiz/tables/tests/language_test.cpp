// The language tables and profiles: locale names to language, library name and
// language code; the flag tables; the active profile and its resource library.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "framework/resources.h"
#include "string_ids.h"
#include "tables/country_format.h"
#include "tables/language_profile.h"

namespace {

// Profiles switch the resource module; each test leaves the program's own.
class LanguageProfiles : public testing::Test {
protected:
  void TearDown() override { setResourceModule(programModule()); }

  static std::unique_ptr<LanguageProfile> profileFor(const char* localeName)
  {
    return std::unique_ptr<LanguageProfile>(makeLanguageProfile(languageId(languagePartOfLocale(localeName))));
  }
};

}  // namespace

TEST(LanguageTable, NinetyThreeRowsAndTheCodeTable)
{
  int rows = 0;
  while (strcmp(languageTable[rows].name, "endoflist") != 0)
    ++rows;
  EXPECT_EQ(rows, 93);
  EXPECT_EQ(languageTable[rows].id, -1);
  EXPECT_EQ(languageId("german"), 11);
  EXPECT_EQ(languageId("swiss"), 11);
  EXPECT_EQ(languageId("spanish - modern sort"), 10);
  EXPECT_EQ(languageId("portuguese_brazil"), 22);
  EXPECT_EQ(languageId("uk"), 18);
  EXPECT_EQ(languageId("c"), -1);
  EXPECT_EQ(languageId("German"), -1);
  EXPECT_EQ(languageId("endoflist"), -1);
  EXPECT_EQ(languageCode(0), "ITA");
  EXPECT_EQ(languageCode(22), "PTB");
  EXPECT_EQ(languageCode(23), "");
  EXPECT_EQ(languageCode(-1), "");
  EXPECT_EQ(languageIdOfCode("NLD"), 13);
  EXPECT_EQ(languageIdOfCode("XXX"), -1);
}

// Each flag table is 1 except for the languages listed.
TEST(LanguageTable, FlagTablesHaveZeroForTheListedLanguagesOnly)
{
  const struct {
    LanguageFlag flag;
    bool listedAreOnes;   // "all except": the listed languages are the ones with 1
    std::vector<const char*> listed;
  } tables[] = {
    {flagFirstName, false, {"KOR"}},
    {flagLastName, false, {}},
    {flagPrefix, false, {"SVE", "NOR", "TRK", "FIN", "PTG", "PTB"}},
    {flagSuffix, true, {"JPN", "THA", "DEU", "CSY", "ENU", "HUN"}},
    {flagInitial, true, {"ELL", "SVE", "THA", "ENU", "PTG", "PTB"}},
    {flagPoBox, false, {"ESP", "PLK", "PTB"}},
    {flagStreet, false, {}},
    {flagCity, false, {}},
    {flagStateList, true, {"JPN", "FRA", "ENU"}},
    {flagPostalCode, false, {}},
    {flagCountry, false, {}},
    {flagJobTitle, false, {}},
    {flagCompany, false, {}},
    {flagPhoneDigits, false, {}},
    {flag16, false, {}},
    {flagEmail, false, {}},
    {flagFrenchBox, true, {"FRA", "ENU"}},
    {flagBoldHeadings, false, {"JPN", "CHS", "KOR", "THA", "CHT"}},
  };
  for (const auto& t : tables) {
    for (int id = 0; id < languageCount; ++id) {
      bool listed = false;
      for (const char* code : t.listed)
        listed = listed || languageCode(id) == code;
      int expected = (listed == t.listedAreOnes) ? 1 : 0;
      EXPECT_EQ(languageFlag(t.flag, id), expected) << "flag " << t.flag << " " << languageCode(id);
    }
  }
  EXPECT_EQ(languageFlag(flagCity, 23), 0);
}

TEST_F(LanguageProfiles, GermanLocale)
{
  const char* locale = "German_Germany.1252";
  EXPECT_EQ(countryIndexForLocale(locale), 56);
  EXPECT_EQ(countryCode(countryIndexForLocale(locale)), "GE");
  EXPECT_EQ(languagePartOfLocale(locale), "german");
  auto profile = profileFor(locale);
  EXPECT_EQ(profile->languageId(), 11);
  EXPECT_EQ(profile->libraryName(), "PRVLMDEU.dll");
  EXPECT_EQ(profile->languageCode(), "DEU");
  EXPECT_TRUE(profile->usesSuffix());
  EXPECT_FALSE(profile->usesInitial());
  // Flag 9 decides, whatever the country.
  EXPECT_FALSE(profile->usesStateList(*makeCountryFormat(158)));
  // No such library here: the program's own resources stay.
  EXPECT_EQ(profile->resources(), programModule());
  EXPECT_EQ(loadText(IDS_CAPTION), "VLM Product Registration");
}

TEST_F(LanguageProfiles, EnglishLocales)
{
  EXPECT_EQ(countryIndexForLocale("English_Canada.1252"), 27);
  EXPECT_EQ(countryIndexForLocale("English_United States.1252"), 158);
  auto profile = profileFor("English_Canada.1252");
  EXPECT_EQ(profile->languageId(), 18);
  EXPECT_EQ(profile->libraryName(), "PRVLMENU.dll");
  EXPECT_NE(dynamic_cast<EnglishProfile*>(profile.get()), nullptr);
  EXPECT_EQ(englishLanguageCode(27), "en_CA");
  EXPECT_EQ(englishLanguageCode(158), "en_US");
  EXPECT_EQ(profile->languageCode(), englishLanguageCode(defaultCountry()->countryIndex()));
  EXPECT_TRUE(profile->usesStateList(*makeCountryFormat(158)));
  EXPECT_TRUE(profile->usesStateList(*makeCountryFormat(27)));
  EXPECT_TRUE(profile->usesStateList(*makeCountryFormat(76)));
  EXPECT_FALSE(profile->usesStateList(*makeCountryFormat(56)));
}

TEST_F(LanguageProfiles, FrenchCanada)
{
  auto profile = profileFor("French_Canada.1252");
  EXPECT_NE(dynamic_cast<FrenchProfile*>(profile.get()), nullptr);
  EXPECT_EQ(profile->languageCode(), "fr_CA");
  EXPECT_EQ(profile->libraryName(), "PRVLMFRA.dll");
  EXPECT_TRUE(profile->usesStateList(*makeCountryFormat(27)));
  EXPECT_FALSE(profile->usesStateList(*makeCountryFormat(158)));
  EXPECT_FALSE(profile->usesStateList(*makeCountryFormat(76)));
  EXPECT_TRUE(profile->mayOfferFrench());
}

TEST_F(LanguageProfiles, BrazilianPortugueseAndTraditionalChinese)
{
  EXPECT_EQ(languagePartOfLocale("Portuguese_Brazil.1252"), "portuguese_brazil");
  auto brazil = profileFor("Portuguese_Brazil.1252");
  EXPECT_EQ(brazil->languageId(), 22);
  EXPECT_EQ(brazil->languageCode(), "PTB");
  EXPECT_EQ(languagePartOfLocale("Portuguese_Portugal.1252"), "portuguese");
  EXPECT_EQ(languagePartOfLocale("Portuguese Brazil"), "portuguese brazil");   // no ".": the whole name
  EXPECT_EQ(languagePartOfLocale("Chinese_Taiwan.950"), "chinese");
  EXPECT_EQ(profileFor("Chinese_Taiwan.950")->languageCode(), "CHS");
  EXPECT_EQ(countryIndexForLocale("Chinese_Taiwan.950"), 145);
}

TEST_F(LanguageProfiles, UnknownNamesGiveEnglishAndTheUnitedStates)
{
  EXPECT_EQ(languagePartOfLocale("C"), "c");
  EXPECT_EQ(countryPartOfLocale("C"), "c");
  EXPECT_EQ(countryIndexForLocale("C"), 158);
  EXPECT_NE(dynamic_cast<EnglishProfile*>(profileFor("C").get()), nullptr);
  EXPECT_EQ(countryPartOfLocale("English_United States"), "united states");
  EXPECT_EQ(countryPartOfLocale("x.y_z"), "z");   // the country part starts after the first "_"
  EXPECT_EQ(countryPartOfLocale("Norwegian (Nynorsk)_Norway.1252"), "norway");
  std::unique_ptr<LanguageProfile> unknown(makeLanguageProfile(-1));
  EXPECT_NE(dynamic_cast<EnglishProfile*>(unknown.get()), nullptr);
}

TEST_F(LanguageProfiles, ActiveProfileIsCreatedOnceAndCanBeReplaced)
{
  testing::internal::CaptureStdout();
  LanguageProfile* first = activeLanguage();
  std::string lines = testing::internal::GetCapturedStdout();
  EXPECT_EQ(activeLanguage(), first);
  // The locale's name and then the library's name, one line each.
  EXPECT_NE(lines.find(first->libraryName() + "\n"), std::string::npos) << lines;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2) << lines;

  testing::internal::CaptureStdout();
  setActiveLanguage(makeLanguageProfile(frenchLanguageId));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "PRVLMFRA.dll\n");
  EXPECT_EQ(activeLanguage()->languageId(), 9);
  setActiveLanguage(nullptr);
}
