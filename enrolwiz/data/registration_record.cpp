// RegistrationRecord, its views and the client number.
#include "data/registration_record.h"

#include "framework/guid.h"
#include "data/survey_codes.h"
#include "tables/country_table.h"
#include "tables/language_profile.h"
#include "tables/text_tests.h"

CString FieldMap::value(const char* key) const
{
  CString found;
  Lookup(key, found);
  return found;
}

bool FieldMap::has(const char* key) const
{
  CString found;
  return Lookup(key, found) != FALSE;
}

void NameView::setPrefix(const CString& text, int index)
{
  prefixIndex_ = index;
  prefixText_ = text;
  fields_->set("prefix", (index >= 0 && index <= 4) ? text : CString());
}

void NameView::setSuffix(const CString& text, int index)
{
  suffixIndex_ = index;
  suffixText_ = text;
  fields_->set("suffix", (index >= 0 && index <= 9) ? text : CString());
}

void AddressView::setCountry(const CString& text, int index)
{
  countryIndex_ = index;
  countryText_ = text;
  fields_->set("country", ::countryCode(index));
}

void AddressView::setState(const CString& text, const CString& code)
{
  stateCode_ = code;
  if (!isBlankText(code)) {
    fields_->set("stateProv", code);
    stateText_ = text;
  } else {
    fields_->set("stateProv", CString());
    stateText_.Empty();
  }
}

void AddressView::setFrench(int flag)
{
  french_ = flag;
  fields_->set("q6", flag == 1 ? "fr_CA" : "");
}

namespace {

RegistrationRecord*& singleton()
{
  static RegistrationRecord* record = nullptr;
  return record;
}

}  // namespace

RegistrationRecord& RegistrationRecord::instance()
{
  if (!singleton())
    singleton() = new RegistrationRecord;
  return *singleton();
}

void RegistrationRecord::deleteInstance()
{
  delete singleton();
  singleton() = nullptr;
}

RegistrationRecord::RegistrationRecord()
    : name_(&fields_), address_(&fields_), phone_(&fields_), language_(activeLanguage())
{
}

namespace {

// An answer: its index and display text, and its code under its key.
void storeAnswer(FieldMap& fields, const char* key, const SurveyCodeTable& table,
                 const CString& text, int index, int& storedIndex, CString& storedText)
{
  storedIndex = index;
  if (table.row(index)) {
    storedText = text;
    fields.set(key, table.code(index));
  } else {
    storedText.Empty();
    fields.set(key, CString());
  }
}

}  // namespace

void RegistrationRecord::setPurchaseReason(const CString& text, int index)
{
  storeAnswer(fields_, "q12", purchaseReasons, text, index, reasonIndex_, reasonText_);
}

void RegistrationRecord::setIndustry(const CString& text, int index)
{
  storeAnswer(fields_, "q8", industries, text, index, industryIndex_, industryText_);
}

void RegistrationRecord::setEmployees(const CString& text, int index)
{
  storeAnswer(fields_, "q9", employeeCounts, text, index, employeesIndex_, employeesText_);
}

CString RegistrationRecord::purchaseReasonFormNumber() const
{
  return purchaseReasons.formNumber(reasonIndex_);
}

CString RegistrationRecord::industryFormNumber() const
{
  return industries.formNumber(industryIndex_);
}

CString RegistrationRecord::employeesFormNumber() const
{
  return employeeCounts.formNumber(employeesIndex_);
}

void RegistrationRecord::setEmailContact(int flag)
{
  emailContact_ = flag;
  fields_.set("q5", flag == 1 ? "EMAILCON" : "");
}

int RegistrationRecord::bookmarkChoice(int i) const
{
  return (i >= 0 && i < 3) ? bookmarks_[i] : 0;
}

void RegistrationRecord::setBookmarkChoice(int i, int checked)
{
  if (i >= 0 && i < 3)
    bookmarks_[i] = checked;
}

bool RegistrationRecord::makeClientNumberIfMissing()
{
  if (!clientNumber().IsEmpty())
    return false;
  setClientNumber(clientNumberFromGuid(newGuidText(), name_.firstName(), name_.lastName()));
  return true;
}

namespace {

CString hexCode(unsigned char c)
{
  CString text;
  text.Format("%x", c);
  return text;
}

}  // namespace

CString clientNumberFromGuid(const CString& guidText, const CString& firstName, const CString& lastName)
{
  CString digits = guidText;
  digits.Remove('{');
  digits.Remove('}');
  digits.Remove('-');
  if (digits.GetLength() != 32)
    return CString();
  CString number = digits.Mid(17);
  if (lastName.GetLength() >= 2) {
    number = number.Mid(4) + hexCode(static_cast<unsigned char>(lastName[0])) +
             hexCode(static_cast<unsigned char>(lastName[1]));
  } else {
    // An empty last name contributes the code of its terminating zero.
    number = number.Mid(2) + hexCode(static_cast<unsigned char>(lastName[0]));
    if (!firstName.IsEmpty())
      number = number.Mid(2) + hexCode(static_cast<unsigned char>(firstName[0]));
  }
  number.MakeUpper();
  return number;
}
