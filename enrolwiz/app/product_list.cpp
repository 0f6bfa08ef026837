// The product list of the command line, written to the brand's registry section.
#include "app/command_line_info.h"

#include "data/registry_store.h"
#include "tables/brand_profile.h"

void writeProductList(const CStringList& products)
{
  if (products.IsEmpty())
    return;
  const CString& section = brand().sectionName();
  POSITION position = products.GetHeadPosition();
  RegistryStore::writeText(section, "prodName", products.GetNext(position));
  int number = 0;
  while (position) {
    CString name;
    name.Format("prod%d", ++number);
    RegistryStore::writeText(section, name, products.GetNext(position));
  }
  CString count;
  count.Format("%d", number);
  RegistryStore::writeText(section, "numOfProds", count);
}
