// RegistrationRecord::save and load: the order of the values is the order of
// the registry writes and reads.
#include "data/registration_record.h"

#include "data/registry_store.h"
#include "tables/brand_profile.h"

void RegistrationRecord::save()
{
  const CString general = RegistryStore::generalSection;
  const CString section = brand().sectionName();
  RegistryStore::writeText(general, "firstName", name_.firstName());
  RegistryStore::writeText(general, "initial", name_.initial());
  RegistryStore::writeText(general, "lastName", name_.lastName());
  RegistryStore::writeText(general, "suffix", name_.suffixText());
  RegistryStore::writeText(general, "prefix", name_.prefixText());
  RegistryStore::writeText(general, "addr2", address_.addr2());
  RegistryStore::writeText(general, "addr1", address_.addr1());
  RegistryStore::writeText(general, "city", address_.city());
  if (address_.stateText().CompareNoCase("XX") != 0)
    RegistryStore::writeText(general, "stateProv", address_.stateText());
  RegistryStore::writeText(general, "country", address_.countryText());
  RegistryStore::writeText(general, "zip", address_.zip());
  RegistryStore::writeInteger(general, "q6", address_.french());
  RegistryStore::writeText(general, "phone", phone_.phone());
  RegistryStore::writeText(general, "extension", phone_.extension());
  RegistryStore::writeText(general, "jobTitle", jobTitle());
  RegistryStore::writeText(general, "q1", languageCode());
  RegistryStore::writeText(general, "company", company());
  RegistryStore::writeText(general, "email", email());
  RegistryStore::writeInteger(section, "q5", emailContact());
  RegistryStore::writeText(section, "q12", purchaseReasonText());
  RegistryStore::writeText(section, "q8", industryText());
  RegistryStore::writeText(section, "q9", employeesText());
  RegistryStore::writeText(section, "q10", question10());
  RegistryStore::writeText(section, "q11", question11());
  RegistryStore::writeText(general, "q13", clientNumber());
}

void RegistrationRecord::load()
{
  const CString general = RegistryStore::generalSection;
  const CString section = brand().sectionName();
  name_.setFirstName(RegistryStore::readText(general, "firstName"));
  name_.setInitial(RegistryStore::readText(general, "initial"));
  name_.setLastName(RegistryStore::readText(general, "lastName"));
  name_.setSuffixText(RegistryStore::readText(general, "suffix"));
  name_.setPrefixText(RegistryStore::readText(general, "prefix"));

  address_.setAddr2(RegistryStore::readText(general, "addr2"));
  address_.setAddr1(RegistryStore::readText(general, "addr1"));
  address_.setCity(RegistryStore::readText(general, "city"));
  address_.setStateText(RegistryStore::readText(general, "stateProv"));
  address_.setZip(RegistryStore::readText(general, "zip"));
  address_.setCountryText(RegistryStore::readText(general, "country"));
  int french = RegistryStore::readInteger(general, "q6");
  if (french != -1)
    address_.setFrench(french);

  phone_.setPhone(RegistryStore::readText(general, "phone"));
  phone_.setExtension(RegistryStore::readText(general, "extension"));

  setJobTitle(RegistryStore::readText(general, "jobTitle"));
  setCompany(RegistryStore::readText(general, "company"));
  setEmail(RegistryStore::readText(general, "email"));

  int contact = RegistryStore::readInteger(section, "q5");
  if (contact != -1)
    setEmailContact(contact);

  setPurchaseReasonText(RegistryStore::readText(section, "q12"));
  setIndustryText(RegistryStore::readText(section, "q8"));
  setEmployeesText(RegistryStore::readText(section, "q9"));

  setQuestion11(RegistryStore::readText(section, "q11"));
  setQuestion10(RegistryStore::readText(section, "q10"));

  setClientNumber(RegistryStore::readText(general, "q13"));
}
