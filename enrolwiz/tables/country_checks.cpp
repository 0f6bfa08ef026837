// The checks of the contact page's name, address and phone fields by country
// format: the first failure is thrown as a CRegException pointer.
#include <cstring>

#include "app/reg_exception.h"
#include "string_ids.h"
#include "tables/brand_profile.h"
#include "tables/country_format.h"
#include "tables/language_profile.h"
#include "tables/text_tests.h"

namespace {

[[noreturn]] void fail(UINT messageId, CWnd* focus)
{
  throw new CRegException(messageId, focus);
}

// A field that may not hold "|" or "\".
void checkAllowed(const ContactField& field, const TextLocale& locale, CWnd* focus)
{
  if (hasForbiddenCharacters(field.text, locale))
    fail(IDS_FORBIDDEN_CHARACTERS, focus);
}

// A street or P.O. box line: it needs a letter, and no forbidden character.
void checkAddressLine(const ContactField& field, const TextLocale& locale)
{
  if (!containsLetter(field.text, locale))
    fail(IDS_ADDRESS_NEEDS_LETTERS, field.control);
  checkAllowed(field, locale, field.control);
}

// First or last name: required when the brand says so; no digit, no forbidden character.
void checkName(const ContactField& name, bool required, UINT requiredMessage, const TextLocale& locale)
{
  if (isBlankText(name.text, locale)) {
    if (required)
      fail(requiredMessage, name.control);
    return;
  }
  if (firstDigitPosition(name.text, locale) > 0)
    fail(IDS_ALPHABETIC_ONLY, name.control);
  checkAllowed(name, locale, name.control);
}

}  // namespace

void CountryFormat::checkNames(const NameFields& f, const LanguageProfile& language,
                               const BrandProfile& brand, const TextLocale& locale) const
{
  bool lastNameFirst = language.languageCode() == "CHS";
  bool japanese = language.languageCode() == "JPN";
  if (lastNameFirst && language.usesLastName())
    checkName(f.lastName, brand.isLastNameRequired(), IDS_LAST_NAME_REQUIRED, locale);
  if (language.usesFirstName())
    checkName(f.firstName, brand.isFirstNameRequired(), IDS_FIRST_NAME_REQUIRED, locale);
  if (!lastNameFirst && language.usesLastName())
    checkName(f.lastName, brand.isLastNameRequired(), IDS_LAST_NAME_REQUIRED, locale);
  if (language.usesInitial()) {
    if (isBlankText(f.initial.text, locale)) {
      // A missing initial takes the first name's message.
      if (brand.isInitialRequired())
        fail(IDS_FIRST_NAME_REQUIRED, f.initial.control);
    } else {
      checkAllowed(f.initial, locale, f.initial.control);
    }
  }
  if (language.usesPrefix()) {
    if (isBlankText(f.prefix.text, locale)) {
      if (brand.isPrefixRequired() || japanese)
        fail(IDS_PREFIX_REQUIRED, f.prefix.control);
    } else {
      checkAllowed(f.prefix, locale, nullptr);
    }
  }
  if (language.usesSuffix()) {
    if (isBlankText(f.suffix.text, locale)) {
      if (brand.isSuffixRequired() || japanese)
        fail(suffixRequiredMessage, f.suffix.control);
    } else {
      checkAllowed(f.suffix, locale, nullptr);
    }
  }
}

void CountryFormat::checkAddress(const AddressFields& f, const LanguageProfile& language,
                                 const BrandProfile& brand, const TextLocale& locale) const
{
  if (language.usesPoBox()) {
    if (isBlankText(f.poBox.text, locale)) {
      if (!language.usesStreet())
        fail(IDS_ADDRESS_REQUIRED, f.street.control);
      if (isBlankText(f.street.text, locale) && brand.isStreetRequired())
        fail(IDS_ADDRESS_REQUIRED, f.street.control);
      checkAddressLine(f.street, locale);
    } else {
      checkAddressLine(f.poBox, locale);
      if (language.usesStreet() && !isBlankText(f.street.text, locale))
        checkAddressLine(f.street, locale);
    }
  } else if (language.usesStreet()) {
    if (isBlankText(f.street.text, locale) && brand.isStreetRequired())
      fail(IDS_ADDRESS_REQUIRED, f.street.control);
    checkAddressLine(f.street, locale);
  }
  if (language.usesCity()) {
    if (isBlankText(f.city.text, locale) && brand.isCityRequired())
      fail(IDS_CITY_REQUIRED, f.city.control);
    checkAllowed(f.city, locale, f.city.control);
  }
  // A country without a state list has nothing to choose, whatever the language says.
  if (language.usesStateList(*this) && stateCount() > 0 && isBlankText(f.state.text, locale) &&
      brand.isStateRequired())
    fail(IDS_STATE_REQUIRED, f.state.control);
  if (language.usesPostalCode() && !f.postalCodeAccepted) {
    if (isBlankText(f.postalCode.text, locale) && brand.isPostalCodeRequired())
      fail(IDS_ZIP_REQUIRED, f.postalCode.control);
    UINT failure = checkPostalCode(f.postalCode.text, language, brand, locale);
    if (failure)
      fail(failure, f.postalCode.control);
  }
  if (language.usesCountry() && !f.countrySelected && brand.isCountryRequired())
    fail(IDS_COUNTRY_REQUIRED, f.countryList);
}

void CountryFormat::checkPhone(const PhoneFields& f, const LanguageProfile& language,
                               const BrandProfile& brand, const TextLocale& locale) const
{
  if (!language.checksPhoneDigits() || f.accepted)
    return;
  const CString& phone = f.phone.text;
  if (isBlankText(phone, locale)) {
    if (brand.isPhoneRequired())
      fail(IDS_PHONE_REQUIRED, f.phone.control);
    return;
  }
  static const char allowed[] = "0123456789- .()+";
  int digits = 0;
  for (int i = 0; i < phone.GetLength(); ++i) {
    char c = phone[i];
    if (c == '\0' || !strchr(allowed, c))
      fail(IDS_PHONE_TOO_SHORT, f.phone.control);
    if (c >= '0' && c <= '9')
      ++digits;
  }
  if (digits < minPhoneDigits())
    fail(IDS_PHONE_TOO_SHORT, f.phone.control);
}
