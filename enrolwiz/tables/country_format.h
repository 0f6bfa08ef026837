// CountryFormat: a country's formats and numbers, one object per country
// index, with variants for the countries that differ (state lists, the United
// States' postal code, numbers by language or by brand).
#ifndef ENROLWIZ_TABLES_COUNTRY_FORMAT_H
#define ENROLWIZ_TABLES_COUNTRY_FORMAT_H

#include <memory>

#include "framework/cstring.h"
#include "framework/text_locale.h"
#include "tables/country_table.h"

class BrandProfile;
class LanguageProfile;

// "Suffix is a required field": the program's own string table has no text for it.
const UINT suffixRequiredMessage = 606;

// What the checks of the contact page see of a field: its text and its
// control (the focus control of a failure; may be null).
struct ContactField {
  CString text;
  CWnd* control = nullptr;
};

struct NameFields {
  ContactField firstName, initial, lastName, prefix, suffix;
};

struct AddressFields {
  ContactField poBox, street, city, state, postalCode;
  CWnd* countryList = nullptr;
  bool countrySelected = false;
  bool postalCodeAccepted = false;   // the customer kept it after a question
};

struct PhoneFields {
  ContactField phone;
  bool accepted = false;             // the customer kept it after a question
};

class CountryFormat {
public:
  explicit CountryFormat(int index);
  virtual ~CountryFormat() = default;

  int countryIndex() const { return index_; }

  // The operation table. The checks (4, 5, 6) throw the first failure as a
  // CRegException pointer with the failing field's control as focus; the
  // postal-code check (10) returns it.
  virtual CString registrationNumber() const;      // 1
  virtual CString secondNumber() const;            // 2
  virtual CString thirdNumberByte() const;         // 3: byte 13 of the third number
  virtual void checkAddress(const AddressFields& fields, const LanguageProfile& language,
                            const BrandProfile& brand, const TextLocale& locale) const;   // 4
  virtual void checkNames(const NameFields& fields, const LanguageProfile& language,
                          const BrandProfile& brand, const TextLocale& locale) const;    // 5
  virtual void checkPhone(const PhoneFields& fields, const LanguageProfile& language,
                          const BrandProfile& brand, const TextLocale& locale) const;    // 6
  virtual CString stateName(int state) const;      // 7: empty without a state list
  virtual CString stateCode(int state) const;      // 8: "XX" without a state list
  virtual int stateCount() const;                  // 9: 0 without a state list
  // 10: 0 when the text passes, else the message id (107 required, 136 the
  // United States' form, 602 too few characters, 603 too few digits).
  virtual UINT checkPostalCode(const CString& text, const LanguageProfile& language,
                               const BrandProfile& brand, const TextLocale& locale) const;

  // Minimums of the country's row, used by the checks.
  int minPhoneDigits() const;
  int minPostalCode() const;

protected:
  const CountryRecord* record() const { return countryRecord(index_); }
  CString rowNumber(int which) const;

private:
  int index_;
};

// A country with a state list (Canada, Japan; the United States below).
class StateListFormat : public CountryFormat {
public:
  StateListFormat(int index, const StateRow* states, int count);
  CString stateName(int state) const override;
  CString stateCode(int state) const override;
  int stateCount() const override;

private:
  const StateRow* states_;
  int count_;
};

class UnitedStatesFormat : public StateListFormat {
public:
  UnitedStatesFormat();
  UINT checkPostalCode(const CString& text, const LanguageProfile& language,
                       const BrandProfile& brand, const TextLocale& locale) const override;
};

// Belgium and Switzerland: the registration number by the active language.
class LanguageNumberFormat : public CountryFormat {
public:
  explicit LanguageNumberFormat(int index);
  CString registrationNumber() const override;
};

// Countries whose number the brand supplies when it has numbers of its own.
class BrandNumberFormat : public CountryFormat {
public:
  explicit BrandNumberFormat(int index);
  CString registrationNumber() const override;
};

// The number of a by-language table for a language id and brand kind (1: the
// brand has no numbers of its own, 2: it has), or a single blank.
CString numberByLanguage(int countryIndex, int languageId, bool brandHasOwnNumbers);

// The format of a country index: the cached default one when the index is
// its, else a new object.
std::shared_ptr<const CountryFormat> countryFormat(int index);
std::shared_ptr<const CountryFormat> makeCountryFormat(int index);

// The format of the country named by the current locale, cached for the process.
std::shared_ptr<const CountryFormat> defaultCountry();

// The country part of a locale name ("English_United States.1252" gives
// "united states") and the index it names (158 when none does).
CString countryPartOfLocale(const CString& localeName);
int countryIndexForLocale(const CString& localeName);

#endif
