// The texts of the phone registration page.
#include "offline/phone_page_texts.h"

#include "data/registration_record.h"
#include "data/system_info.h"
#include "string_ids.h"
#include "tables/country_format.h"

namespace {

// The products after the first, joined by blanks.
CString productsText(const SystemInfo& system)
{
  int count = system.productCount();
  CString text;
  for (int i = 1; i <= count; ++i)
    text += " " + system.product(i);
  text.TrimLeft();
  text.TrimRight();
  return text;
}

}  // namespace

PhonePageTexts phonePageTexts(const RegistrationRecord& record, const SystemInfo& system)
{
  PhonePageTexts texts;
  int country = record.addressView().countryIndex();
  texts.heading = loadText(IDS_PHONE_HEADING) + loadText(589) + countryFormat(country)->registrationNumber();
  texts.productName = system.prodName();
  texts.products = productsText(system);
  texts.email = record.email();
  texts.emailMessage = loadText(record.emailContact() != 0 ? IDS_EMAIL_CONTACT_YES : IDS_EMAIL_CONTACT_NO);
  texts.purchaseReason = record.purchaseReasonText();
  texts.industry = record.industryText();
  texts.employees = record.employeesText();
  texts.osName = system.osName();
  texts.osVersion = system.osVersion();
  texts.installationLocation = record.question10();
  texts.benefits = record.question11();
  texts.clientNumber = record.clientNumber();
  texts.version = loadText(IDS_VERSION);
  return texts;
}
