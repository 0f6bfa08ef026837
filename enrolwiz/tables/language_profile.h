// LanguageProfile: the active language's address format, its language code
// and its resource library. Three kinds: English, French, and a profile for
// any other language whose texts come from a resource library.
#ifndef ENROLWIZ_TABLES_LANGUAGE_PROFILE_H
#define ENROLWIZ_TABLES_LANGUAGE_PROFILE_H

#include "framework/cstring.h"
#include "framework/resources.h"
#include "tables/language_table.h"

class CountryFormat;

class LanguageProfile {
public:
  virtual ~LanguageProfile() = default;
  LanguageProfile(const LanguageProfile&) = delete;
  LanguageProfile& operator=(const LanguageProfile&) = delete;

  int languageId() const { return id_; }
  // "PR" + the brand code's first three characters + the language's code + ".dll".
  const CString& libraryName() const { return libraryName_; }
  // The module whose resources the program uses since this profile was made.
  ResourceModule resources() const { return resources_; }

  // The operation table.
  bool usesFirstName() const { return flag(flagFirstName); }            // 1
  bool usesLastName() const { return flag(flagLastName); }              // 2
  bool usesPrefix() const { return flag(flagPrefix); }                  // 3
  bool usesSuffix() const { return flag(flagSuffix); }                  // 4
  bool usesInitial() const { return flag(flagInitial); }                // 5
  bool usesPoBox() const { return flag(flagPoBox); }                    // 6
  bool usesStreet() const { return flag(flagStreet); }                  // 7
  bool usesCity() const { return flag(flagCity); }                      // 8
  virtual bool usesStateList(const CountryFormat& country) const = 0;   // 9
  bool usesPostalCode() const { return flag(flagPostalCode); }          // 10
  bool usesCountry() const { return flag(flagCountry); }                // 11
  virtual CString languageCode() const = 0;                             // 12
  bool usesJobTitle() const { return flag(flagJobTitle); }              // 13
  bool usesCompany() const { return flag(flagCompany); }                // 14
  bool checksPhoneDigits() const { return flag(flagPhoneDigits); }      // 15
  bool flagSixteen() const { return flag(flag16); }                     // 16
  bool usesEmail() const { return flag(flagEmail); }                    // 17
  bool mayOfferFrench() const { return flag(flagFrenchBox); }           // 18
  bool boldHeadings() const { return flag(flagBoldHeadings); }          // 19

protected:
  // Loads the language's resource library, or falls back to the program's
  // own resources, and makes the module found the resource module.
  explicit LanguageProfile(int id);
  bool flag(LanguageFlag f) const { return languageFlag(f, id_) != 0; }

private:
  int id_;
  CString libraryName_;
  ResourceModule resources_;
};

class EnglishProfile : public LanguageProfile {
public:
  EnglishProfile();
  bool usesStateList(const CountryFormat& country) const override;
  CString languageCode() const override;    // "en_US" in the United States, else "en_CA"
};

class FrenchProfile : public LanguageProfile {
public:
  FrenchProfile();
  bool usesStateList(const CountryFormat& country) const override;
  CString languageCode() const override;    // "fr_CA"
};

class ResourceLibraryProfile : public LanguageProfile {
public:
  explicit ResourceLibraryProfile(int id);
  bool usesStateList(const CountryFormat& country) const override;
  CString languageCode() const override;    // the three-letter code
};

// The English profile's language code for a default country index.
CString englishLanguageCode(int defaultCountryIndex);

// The profile of a language id: English for 18 and for ids it does not know,
// French for 9, a resource-library profile for the others.
LanguageProfile* makeLanguageProfile(int languageId);

// The language part of a locale name as the table is searched for it:
// lower case, before the first "_" or " " ("portuguese_brazil" for Brazil).
CString languagePartOfLocale(const CString& localeName);

// The active profile. On first call without one, the user's default locale
// is selected, its name written as a diagnostic line, and the profile chosen
// from it.
LanguageProfile* activeLanguage();
// Makes a profile the active one (the "lang" option); takes ownership.
void setActiveLanguage(LanguageProfile* profile);

// The name of a language's resource library under the active brand.
CString resourceLibraryName(const CString& languageCode);

#endif
