// SystemInfo, SurveyDescriptor and the operating-system texts.
#include "data/system_info.h"

#include "data/registry_store.h"
#include "data/request_encoding.h"
#include "tables/brand_profile.h"

CString RequestPairs::buildText()
{
  text_ = buildPairs(fields_);
  return text_;
}

namespace {

SystemInfo*& systemInfo()
{
  static SystemInfo* info = nullptr;
  return info;
}

SurveyDescriptor*& surveyDescriptor()
{
  static SurveyDescriptor* survey = nullptr;
  return survey;
}

}  // namespace

SystemInfo& SystemInfo::instance()
{
  if (!systemInfo())
    systemInfo() = new SystemInfo;
  return *systemInfo();
}

void SystemInfo::deleteInstance()
{
  delete systemInfo();
  systemInfo() = nullptr;
}

void SystemInfo::collect()
{
  collect(currentOsVersion());
}

void SystemInfo::collect(const OsVersion& version)
{
  fields_.set("q2", operatingSystemName(version));
  fields_.set("q3", operatingSystemVersion(version));
  ProductList list = readProductList(brand().sectionName());
  fields_.set("numOfProds", list.count);
  fields_.set("prodName", list.name);
  for (size_t i = 0; i < list.products.size(); i++) {
    CString key;
    key.Format("prod%d", static_cast<int>(i + 1));
    fields_.set(key, list.products[i]);
  }
}

int SystemInfo::productCount() const
{
  int count = atoiText(numOfProds());
  return count < maxProducts ? count : maxProducts;
}

CString SystemInfo::product(int i) const
{
  CString key;
  key.Format("prod%d", i);
  return fields_.value(key);
}

SurveyDescriptor& SurveyDescriptor::instance()
{
  if (!surveyDescriptor())
    surveyDescriptor() = new SurveyDescriptor;
  return *surveyDescriptor();
}

void SurveyDescriptor::deleteInstance()
{
  delete surveyDescriptor();
  surveyDescriptor() = nullptr;
}

