// RegistrationRecord: the process-wide record of everything the customer
// enters, under the request keys, with the survey answers, the flags and the
// views NameView, AddressView and PhoneView that write into the same map.
#ifndef ENROLWIZ_DATA_REGISTRATION_RECORD_H
#define ENROLWIZ_DATA_REGISTRATION_RECORD_H

#include "data/field_map.h"

class LanguageProfile;

class NameView {
public:
  explicit NameView(FieldMap* fields) : fields_(fields) {}

  CString firstName() const { return fields_->value("firstName"); }
  void setFirstName(const CString& text) { fields_->set("firstName", text); }
  CString initial() const { return fields_->value("initial"); }
  void setInitial(const CString& text) { fields_->set("initial", text); }
  CString lastName() const { return fields_->value("lastName"); }
  void setLastName(const CString& text) { fields_->set("lastName", text); }

  // Index and text; the map holds the text when index is 0 to 4 (prefix),
  // 0 to 9 (suffix), else the empty text.
  void setPrefix(const CString& text, int index);
  void setSuffix(const CString& text, int index);
  int prefixIndex() const { return prefixIndex_; }
  int suffixIndex() const { return suffixIndex_; }
  const CString& prefixText() const { return prefixText_; }
  const CString& suffixText() const { return suffixText_; }
  // The display texts alone (loading), the map untouched.
  void setPrefixText(const CString& text) { prefixText_ = text; }
  void setSuffixText(const CString& text) { suffixText_ = text; }

private:
  FieldMap* fields_;
  int prefixIndex_ = -1;
  CString prefixText_;
  int suffixIndex_ = -1;
  CString suffixText_;
};

class AddressView {
public:
  explicit AddressView(FieldMap* fields) : fields_(fields) {}

  CString addr1() const { return fields_->value("addr1"); }
  void setAddr1(const CString& text) { fields_->set("addr1", text); }
  CString addr2() const { return fields_->value("addr2"); }
  void setAddr2(const CString& text) { fields_->set("addr2", text); }
  CString city() const { return fields_->value("city"); }
  void setCity(const CString& text) { fields_->set("city", text); }
  CString zip() const { return fields_->value("zip"); }
  void setZip(const CString& text) { fields_->set("zip", text); }

  // Index and text; "country" holds the row's code for 0 to 168, else empty.
  void setCountry(const CString& text, int index);
  CString countryCode() const { return fields_->value("country"); }
  int countryIndex() const { return countryIndex_; }
  const CString& countryText() const { return countryText_; }
  void setCountryText(const CString& text) { countryText_ = text; }

  // A blank code clears "stateProv" and the display text.
  void setState(const CString& text, const CString& code);
  const CString& stateCode() const { return stateCode_; }
  const CString& stateText() const { return stateText_; }
  void setStateText(const CString& text) { stateText_ = text; }

  // "q6" is "fr_CA" when the flag is 1, else empty.
  void setFrench(int flag);
  int french() const { return french_; }

private:
  FieldMap* fields_;
  int countryIndex_ = -1;
  CString countryText_;
  CString stateCode_;
  CString stateText_;
  int french_ = 0;
};

class PhoneView {
public:
  explicit PhoneView(FieldMap* fields) : fields_(fields) {}

  CString phone() const { return fields_->value("phone"); }
  void setPhone(const CString& text) { fields_->set("phone", text); }
  CString extension() const { return fields_->value("extension"); }
  void setExtension(const CString& text) { fields_->set("extension", text); }

private:
  FieldMap* fields_;
};

// The registration methods chosen after a failed connection.
enum RegistrationMethod { methodLater = 0, methodPrint = -1, methodPhone = -2 };

class RegistrationRecord {
public:
  static RegistrationRecord& instance();
  // Deletes the singleton (at process exit, in the order the program gives).
  static void deleteInstance();

  RegistrationRecord();
  RegistrationRecord(const RegistrationRecord&) = delete;
  RegistrationRecord& operator=(const RegistrationRecord&) = delete;

  FieldMap& fields() { return fields_; }
  const FieldMap& fields() const { return fields_; }
  NameView& nameView() { return name_; }
  const NameView& nameView() const { return name_; }
  AddressView& addressView() { return address_; }
  const AddressView& addressView() const { return address_; }
  PhoneView& phoneView() { return phone_; }
  const PhoneView& phoneView() const { return phone_; }
  LanguageProfile* language() const { return language_; }

  CString jobTitle() const { return fields_.value("jobTitle"); }
  void setJobTitle(const CString& text) { fields_.set("jobTitle", text); }
  CString company() const { return fields_.value("company"); }
  void setCompany(const CString& text) { fields_.set("company", text); }
  CString email() const { return fields_.value("email"); }
  void setEmail(const CString& text) { fields_.set("email", text); }

  // Text and index; out of range stores an empty text and an empty code.
  void setPurchaseReason(const CString& text, int index);   // "q12"
  void setIndustry(const CString& text, int index);         // "q8"
  void setEmployees(const CString& text, int index);        // "q9"
  const CString& purchaseReasonText() const { return reasonText_; }
  const CString& industryText() const { return industryText_; }
  const CString& employeesText() const { return employeesText_; }
  void setPurchaseReasonText(const CString& text) { reasonText_ = text; }
  void setIndustryText(const CString& text) { industryText_ = text; }
  void setEmployeesText(const CString& text) { employeesText_ = text; }
  int purchaseReasonIndex() const { return reasonIndex_; }
  int industryIndex() const { return industryIndex_; }
  int employeesIndex() const { return employeesIndex_; }
  // The form numbers of the stored answers; empty out of range.
  CString purchaseReasonFormNumber() const;
  CString industryFormNumber() const;
  CString employeesFormNumber() const;

  // "q5" is "EMAILCON" when the flag is 1, else empty.
  void setEmailContact(int flag);
  int emailContact() const { return emailContact_; }

  CString question4() const { return fields_.value("q4"); }
  void setQuestion4(const CString& text) { fields_.set("q4", text); }
  CString question10() const { return fields_.value("q10"); }
  void setQuestion10(const CString& text) { fields_.set("q10", text); }
  CString question11() const { return fields_.value("q11"); }
  void setQuestion11(const CString& text) { fields_.set("q11", text); }
  CString languageCode() const { return fields_.value("q1"); }
  void setLanguageCode(const CString& text) { fields_.set("q1", text); }
  CString clientNumber() const { return fields_.value("q13"); }
  void setClientNumber(const CString& text) { fields_.set("q13", text); }

  // Makes the client number from the names in the map when "q13" is empty;
  // true when it made one.
  bool makeClientNumberIfMissing();

  int registerLater() const { return registerLater_; }
  void setRegisterLater(int flag) { registerLater_ = flag; }
  int registrationMethod() const { return method_; }
  void setRegistrationMethod(int method) { method_ = method; }
  bool isMethodLater() const { return method_ == methodLater; }
  bool isMethodPrint() const { return method_ == methodPrint; }
  bool isMethodPhone() const { return method_ == methodPhone; }

  // The check states of bookmark boxes 0, 1 and 2; 0 outside.
  int bookmarkChoice(int i) const;
  void setBookmarkChoice(int i, int checked);

  const CString& queryText() const { return query_; }
  void setQueryText(const CString& text) { query_ = text; }
  // Builds, stores and returns the query text: the pairs of the map, then
  // "&q7=%20" and "&q14=" with the escaped version text.
  CString buildQuery();

  // The record in the registry (RegistryStore): "General" and the brand's
  // section. Every value has its own write, so one failure skips only that
  // value. "q1" is written but not read: the language is always this run's.
  void save();
  void load();

private:
  FieldMap fields_;
  CString query_;
  int reasonIndex_ = -1;
  CString reasonText_;
  int industryIndex_ = -1;
  CString industryText_;
  int employeesIndex_ = -1;
  CString employeesText_;
  int emailContact_ = 1;
  int registerLater_ = 1;
  int method_ = methodLater;
  int bookmarks_[3] = {0, 0, 0};
  NameView name_;
  AddressView address_;
  PhoneView phone_;
  LanguageProfile* language_;
};

// The client number made from a GUID's registry text and the first and last
// name; empty when the GUID text is not one.
CString clientNumberFromGuid(const CString& guidText, const CString& firstName, const CString& lastName);

#endif
