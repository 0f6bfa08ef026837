// CountryFormat and its variants; the default country of the locale.
#include "tables/country_format.h"

#include <cstring>

#include "tables/brand_profile.h"
#include "tables/language_profile.h"
#include "tables/language_table.h"
#include "tables/operator_data.h"
#include "tables/text_tests.h"

CountryFormat::CountryFormat(int index) : index_(index) {}

CString CountryFormat::rowNumber(int which) const
{
  const CountryRecord* r = record();
  return r ? CString(r->numbers[which], static_cast<int>(sizeof r->numbers[which])) : CString();
}

CString CountryFormat::registrationNumber() const
{
  return rowNumber(0);
}

CString CountryFormat::secondNumber() const
{
  return rowNumber(1);
}

CString CountryFormat::thirdNumberByte() const
{
  const CountryRecord* r = record();
  return (r && r->numbers[2][13] != '\0') ? CString(r->numbers[2][13], 1) : CString();
}

CString CountryFormat::stateName(int) const
{
  return CString();
}

CString CountryFormat::stateCode(int) const
{
  return CString("XX");
}

int CountryFormat::stateCount() const
{
  return 0;
}

int CountryFormat::minPhoneDigits() const
{
  const CountryRecord* r = record();
  return r ? r->minPhoneDigits : 1;
}

int CountryFormat::minPostalCode() const
{
  const CountryRecord* r = record();
  return r ? r->minPostalCode : 1;
}

UINT CountryFormat::checkPostalCode(const CString& text, const LanguageProfile& language,
                                    const BrandProfile& brand, const TextLocale& locale) const
{
  if (!language.usesPostalCode())
    return 0;
  if (isBlankText(text, locale))
    return brand.isPostalCodeRequired() ? 107 : 0;
  int minimum = minPostalCode();
  bool digitsOnly = minimum < 0;
  if (digitsOnly)
    minimum = -minimum;
  CString code = text;
  code.Remove(' ');
  int counted = 0;
  bool error = false;
  for (int i = 0; i < code.GetLength() && !error; ++i) {
    unsigned char c = static_cast<unsigned char>(code[i]);
    if (locale.isDigit(c))
      ++counted;
    else if (c == '-')
      continue;
    else if (!digitsOnly && locale.isAlpha(c))
      ++counted;
    else
      error = true;
  }
  if (error || counted < minimum)
    return digitsOnly ? 603 : 602;
  return 0;
}

StateListFormat::StateListFormat(int index, const StateRow* states, int count)
    : CountryFormat(index), states_(states), count_(count)
{
}

CString StateListFormat::stateName(int state) const
{
  return (state >= 0 && state < count_) ? loadText(states_[state].nameId) : CString();
}

CString StateListFormat::stateCode(int state) const
{
  return (state >= 0 && state < count_) ? CString(states_[state].code) : CString();
}

int StateListFormat::stateCount() const
{
  return count_;
}

UnitedStatesFormat::UnitedStatesFormat()
    : StateListFormat(unitedStatesIndex, unitedStatesStates, 51)
{
}

UINT UnitedStatesFormat::checkPostalCode(const CString& text, const LanguageProfile&,
                                         const BrandProfile&, const TextLocale& locale) const
{
  // Five digits, or nine with a hyphen after the fifth; blanks are not removed.
  int digits = 0;
  bool error = false;
  for (int i = 0; i < text.GetLength() && !error; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (locale.isDigit(c))
      ++digits;
    else if (c != '-' || i != 5)
      error = true;
  }
  return (error || digits <= 4) ? 136 : 0;
}

CString numberByLanguage(int countryIndex, int languageId, bool brandHasOwnNumbers)
{
  const LanguageNumberRow* rows = countryIndex == belgiumIndex ? belgianNumbers : swissNumbers;
  int count = countryIndex == belgiumIndex ? belgianNumbersCount
            : countryIndex == switzerlandIndex ? swissNumbersCount : 0;
  int kind = brandHasOwnNumbers ? 2 : 1;
  for (int r = 0; r < count; ++r)
    if (languageIdOfCode(rows[r].languageCode) == languageId && rows[r].kind == kind)
      return CString(rows[r].number);
  return CString(" ");
}

LanguageNumberFormat::LanguageNumberFormat(int index) : CountryFormat(index) {}

CString LanguageNumberFormat::registrationNumber() const
{
  return numberByLanguage(countryIndex(), activeLanguage()->languageId(), brand().hasOwnNumbers());
}

BrandNumberFormat::BrandNumberFormat(int index) : CountryFormat(index) {}

CString BrandNumberFormat::registrationNumber() const
{
  if (brand().hasOwnNumbers())
    return brand().ownNumber(countryIndex());
  return CountryFormat::registrationNumber();
}

namespace {

std::shared_ptr<const CountryFormat>& cachedDefault()
{
  static std::shared_ptr<const CountryFormat> format;
  return format;
}

bool takesBrandNumber(int index)
{
  static const int indexes[] = {7, 41, 50, 51, 56, 72, 74, 112, 121, 137, 142, 157};
  for (int i : indexes)
    if (i == index)
      return true;
  return false;
}

}  // namespace

std::shared_ptr<const CountryFormat> makeCountryFormat(int index)
{
  if (index == unitedStatesIndex)
    return std::make_shared<UnitedStatesFormat>();
  if (index == canadaIndex)
    return std::make_shared<StateListFormat>(index, canadaProvinces, 12);
  if (index == japanIndex)
    return std::make_shared<StateListFormat>(index, japanPrefectures, 47);
  if (index == belgiumIndex || index == switzerlandIndex)
    return std::make_shared<LanguageNumberFormat>(index);
  if (takesBrandNumber(index))
    return std::make_shared<BrandNumberFormat>(index);
  return std::make_shared<CountryFormat>(index);
}

std::shared_ptr<const CountryFormat> countryFormat(int index)
{
  const std::shared_ptr<const CountryFormat>& cached = cachedDefault();
  if (cached && cached->countryIndex() == index)
    return cached;
  return makeCountryFormat(index);
}

CString countryPartOfLocale(const CString& localeName)
{
  int underscore = localeName.Find('_');
  int start = underscore < 0 ? 0 : underscore + 1;
  int dot = localeName.Find('.', start);
  CString part = dot < 0 ? localeName.Mid(start) : localeName.Mid(start, dot - start);
  part.MakeLower();
  return part;
}

int countryIndexForLocale(const CString& localeName)
{
  int index = countryIndexOfName(countryPartOfLocale(localeName));
  return index < 0 ? unitedStatesIndex : index;
}

std::shared_ptr<const CountryFormat> defaultCountry()
{
  std::shared_ptr<const CountryFormat>& cached = cachedDefault();
  if (!cached)
    cached = makeCountryFormat(countryIndexForLocale(currentLocaleName()));
  return cached;
}
