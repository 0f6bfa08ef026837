// A record filled as the two pages store it, and the system it was filled on,
// for the registry, request and offline-output tests.
#ifndef ENROLWIZ_DATA_TESTS_FILLED_RECORD_H
#define ENROLWIZ_DATA_TESTS_FILLED_RECORD_H

#include "data/registration_record.h"
#include "framework/os_version.h"

// Windows NT 4.0, build 1381.
inline OsVersion windowsNt4()
{
  OsVersion version;
  version.known = true;
  version.platformId = platformWin32NT;
  version.majorVersion = 4;
  version.minorVersion = 0;
  version.buildNumber = 1381;
  return version;
}

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
