// A record filled as the two pages store it, for the registry and request tests.
#ifndef ENROLWIZ_DATA_TESTS_FILLED_RECORD_H
#define ENROLWIZ_DATA_TESTS_FILLED_RECORD_H

#include "data/registration_record.h"

// The contact page's fields, then the additional-information page's answers,
// in the order the pages store them.
inline void fillRecord(RegistrationRecord& record)
{
  NameView& name = record.nameView();
  name.setFirstName("Ann");
  name.setInitial("B");
  name.setLastName("O'Hara");
  name.setPrefix("Ms.", 1);
  name.setSuffix(" ", 0);
  record.setJobTitle("Head of R&D");
  record.setCompany("Example Ltd.");
  AddressView& address = record.addressView();
  address.setAddr1("1 Main St.");
  address.setAddr2("");
  address.setCity("Springfield");
  address.setState("Ontario", "ON");
  address.setZip("K1A 0B1");
  address.setCountry("Canada", 27);
  record.phoneView().setPhone("555-0100");
  record.phoneView().setExtension("12");
  record.setEmail("ann@example.com");
  record.setLanguageCode("en_CA");
  record.setQuestion4("5");
  record.setEmailContact(1);
  address.setFrench(0);
  record.setQuestion10("9");
  record.setQuestion11("0");
  record.setPurchaseReason("VLM Business Partner", 7);
  record.setIndustry("Banking", 1);
  record.setEmployees("25-49", 2);
  record.setClientNumber("");
}

#endif
