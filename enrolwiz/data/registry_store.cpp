// RegistryStore and the product list reader.
#include "data/registry_store.h"

#include "framework/registry.h"
#include "framework/registry_readers.h"

const char* const RegistryStore::generalSection = "General";

CString RegistryStore::keyPath(const CString& section)
{
  return CString("Software\\VLM\\Product Registration\\") + section;
}

long RegistryStore::writeText(const CString& section, const CString& name, const CString& text)
{
  CString path = keyPath(section);
  RegistryKey key;
  long status = key.open(registryCurrentUser, path, registrySetValue);
  if (status != registryOk) {
    status = ensureKeys(section);
    if (status != registryOk)
      return status;
    status = key.open(registryCurrentUser, path, registrySetValue);
    if (status != registryOk)
      return status;
  }
  status = key.setText(name, text);
  key.close();
  return status;
}

long RegistryStore::writeInteger(const CString& section, const CString& name, int value)
{
  CString text;
  text.Format("%d", value);
  return writeText(section, name, text);
}

CString RegistryStore::readText(const CString& section, const CString& name)
{
  return readRegistryText(registryCurrentUser, keyPath(section), name);
}

int RegistryStore::readInteger(const CString& section, const CString& name)
{
  return readRegistryNumber(registryCurrentUser, keyPath(section), name);
}

long RegistryStore::ensureKeys(const CString& section)
{
  RegistryKey software, maker, product, general, requested;
  long status = software.open(registryCurrentUser, "Software", registryCreateSubKey);
  if (status == registryOk)
    status = maker.create(software, "VLM");
  if (status == registryOk)
    status = product.create(maker, "Product Registration");
  if (status == registryOk) {
    // A "General" that cannot be made does not keep the section from being made.
    general.create(product, generalSection);
    status = requested.create(product, section);
  }
  return status;
}

ProductList readProductList(const CString& section)
{
  ProductList list;
  list.count = RegistryStore::readText(section, "numOfProds");
  if (list.count.IsEmpty())
    list.count = "0";
  list.name = RegistryStore::readText(section, "prodName");
  int count = atoiText(list.count);
  if (count > maxProducts)
    count = maxProducts;
  for (int i = 1; i <= count; i++) {
    CString name;
    name.Format("prod%d", i);
    list.products.push_back(RegistryStore::readText(section, name));
  }
  return list;
}
