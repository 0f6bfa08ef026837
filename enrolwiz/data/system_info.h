// SystemInfo and SurveyDescriptor, the two maps that follow the record in the
// registration request.
#ifndef ENROLWIZ_DATA_SYSTEM_INFO_H
#define ENROLWIZ_DATA_SYSTEM_INFO_H

#include "data/field_map.h"
#include "framework/os_version.h"

// A map of the request and the pairs last built from it.
class RequestPairs {
public:
  const FieldMap& fields() const { return fields_; }
  // Builds, stores and returns the pairs of the map.
  CString buildText();
  const CString& text() const { return text_; }

protected:
  FieldMap fields_;
  CString text_;
};

// The operating system ("q2", "q3") and the product list ("numOfProds",
// "prodName", "prod1" ...). A singleton, filled once per run.
class SystemInfo : public RequestPairs {
public:
  static SystemInfo& instance();
  static void deleteInstance();

  // From this platform's version and the brand section of the registry.
  void collect();
  void collect(const OsVersion& version);

  CString osName() const { return fields_.value("q2"); }
  CString osVersion() const { return fields_.value("q3"); }
  CString numOfProds() const { return fields_.value("numOfProds"); }
  // "numOfProds" as atoi reads it, at most the products the registry holds.
  int productCount() const;
  // "prod" + i, for i from 1.
  CString product(int i) const;
  CString prodName() const { return fields_.value("prodName"); }
  CString value(const char* key) const { return fields_.value(key); }
};

// The survey header of every request. A singleton; its values are set from
// the string table on every Submit.
class SurveyDescriptor : public RequestPairs {
public:
  static SurveyDescriptor& instance();
  static void deleteInstance();

  void setCampaign(const CString& text) { fields_.set("campaign", text); }
  void setService(const CString& text) { fields_.set("service", text); }
  void setMethod(const CString& text) { fields_.set("method", text); }
  void setSurveyId(const CString& text) { fields_.set("surveyId", text); }
  void setNumOfQuestions(const CString& text) { fields_.set("numOfQuestions", text); }
};

#endif
