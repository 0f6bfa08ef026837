// The language profiles and the choice of the active one.
#include "tables/language_profile.h"

#include <memory>

#include "app/diagnostics.h"
#include "framework/text_locale.h"
#include "tables/brand_profile.h"
#include "tables/country_format.h"

CString resourceLibraryName(const CString& languageCode)
{
  return "PR" + brand().brandCode().Left(3) + languageCode + ".dll";
}

LanguageProfile::LanguageProfile(int id)
    : id_(id), libraryName_(resourceLibraryName(::languageCode(id)))
{
  writeDiagnosticLine(libraryName_);
  resources_ = loadResourceLibrary(libraryName_);
  if (!resources_)
    resources_ = programModule();
  setResourceModule(resources_);
}

EnglishProfile::EnglishProfile() : LanguageProfile(englishLanguageId) {}

bool EnglishProfile::usesStateList(const CountryFormat& country) const
{
  int c = country.countryIndex();
  return c == unitedStatesIndex || c == canadaIndex || c == japanIndex;
}

CString englishLanguageCode(int defaultCountryIndex)
{
  return defaultCountryIndex == unitedStatesIndex ? "en_US" : "en_CA";
}

CString EnglishProfile::languageCode() const
{
  return englishLanguageCode(defaultCountry()->countryIndex());
}

FrenchProfile::FrenchProfile() : LanguageProfile(frenchLanguageId) {}

bool FrenchProfile::usesStateList(const CountryFormat& country) const
{
  return country.countryIndex() == canadaIndex;
}

CString FrenchProfile::languageCode() const
{
  return "fr_CA";
}

ResourceLibraryProfile::ResourceLibraryProfile(int id) : LanguageProfile(id) {}

bool ResourceLibraryProfile::usesStateList(const CountryFormat&) const
{
  return flag(flagStateList);
}

CString ResourceLibraryProfile::languageCode() const
{
  return ::languageCode(languageId());
}

LanguageProfile* makeLanguageProfile(int languageId)
{
  if (languageId == frenchLanguageId)
    return new FrenchProfile;
  if (languageId < 0 || languageId >= languageCount || languageId == englishLanguageId)
    return new EnglishProfile;
  return new ResourceLibraryProfile(languageId);
}

CString languagePartOfLocale(const CString& localeName)
{
  CString name = localeName;
  name.MakeLower();
  int end = name.FindOneOf("_ ");
  CString part = end < 0 ? name : name.Left(end);
  if (part == "portuguese" && name.Find("brazil") >= 0) {
    int dot = name.Find('.');
    part = dot < 0 ? name : name.Left(dot);
  }
  return part;
}

namespace {

std::unique_ptr<LanguageProfile>& active()
{
  static std::unique_ptr<LanguageProfile> profile;
  return profile;
}

}  // namespace

LanguageProfile* activeLanguage()
{
  if (!active()) {
    CString name = selectLocale("");
    writeDiagnosticLine(name);
    active().reset(makeLanguageProfile(languageId(languagePartOfLocale(name))));
  }
  return active().get();
}

void setActiveLanguage(LanguageProfile* profile)
{
  active().reset(profile);
}
