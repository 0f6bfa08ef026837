// The mail-in registration form's lines.
#include "offline/print_form.h"

#include "data/registration_record.h"
#include "data/system_info.h"
#include "string_ids.h"
#include "tables/country_table.h"

namespace {

// The texts of the first k address ids of the country's row, k being the
// number of ids in use; none outside the table.
void addMailingAddress(CStringList& lines, int countryIndex)
{
  const CountryRecord* country = countryRecord(countryIndex);
  if (!country)
    return;
  int used = 0;
  for (UINT id : country->mailIds)
    if (id != 0)
      ++used;
  for (int i = 0; i < used; ++i)
    lines.AddTail(loadText(country->mailIds[i]));
}

}  // namespace

void PrintForm::build(CStringList& lines)
{
  build(lines, RegistrationRecord::instance(), SystemInfo::instance());
}

void PrintForm::build(CStringList& lines, const RegistrationRecord& record, const SystemInfo& system)
{
  const NameView& name = record.nameView();
  const AddressView& address = record.addressView();
  const FieldMap& fields = record.fields();

  lines.RemoveAll();
  lines.AddTail(loadText(IDS_MAIL_TO));
  addMailingAddress(lines, address.countryIndex());
  lines.AddTail("");
  lines.AddTail("23:" + system.prodName());
  int products = system.productCount();
  for (int i = 1; i <= products; ++i)
    lines.AddTail("21:" + system.product(i));
  lines.AddTail("");
  lines.AddTail("31:" + name.prefixText());
  lines.AddTail("32:" + name.firstName());
  lines.AddTail("33:" + name.initial());
  lines.AddTail("34:" + name.lastName());
  lines.AddTail("35:" + name.suffixText());
  lines.AddTail("51:" + address.addr1());
  lines.AddTail("52:" + address.addr2());
  lines.AddTail("53:" + address.city());
  lines.AddTail("54:" + address.stateCode());
  lines.AddTail("55:" + address.zip());
  lines.AddTail("56:" + countryCode(address.countryIndex()));
  lines.AddTail("43:" + record.jobTitle());
  lines.AddTail("44:" + record.company());
  lines.AddTail("61:" + record.phoneView().phone() + "   " + record.phoneView().extension());
  lines.AddTail("64:" + record.email());
  lines.AddTail("");
  lines.AddTail("36:" + record.languageCode());
  lines.AddTail("7502:" + system.osName());
  lines.AddTail("7503:" + system.osVersion());
  lines.AddTail("25:1");
  lines.AddTail("41:" + record.question10());
  lines.AddTail("37:" + record.question11());
  lines.AddTail("");
  lines.AddTail("7505:" + fields.value("q5"));
  lines.AddTail("7506:" + fields.value("q6"));
  lines.AddTail("7507:");
  lines.AddTail("7508:" + record.industryFormNumber());
  lines.AddTail("7509:" + record.employeesFormNumber());
  lines.AddTail("7512:" + record.purchaseReasonFormNumber());
  lines.AddTail("7513:" + record.clientNumber());
  lines.AddTail("7514:" + loadText(IDS_VERSION));
}
