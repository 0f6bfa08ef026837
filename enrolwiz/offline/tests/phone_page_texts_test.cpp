// The phone registration page's texts: the products joined, the e-mail
// message by the contact flag, the heading with the country's number.
#include <gtest/gtest.h>

#include "data/registration_record.h"
#include "data/system_info.h"
#include "data/tests/filled_record.h"
#include "framework/tests/test_registry.h"
#include "offline/phone_page_texts.h"
#include "string_ids.h"

namespace {

const char brandKey[] = "Software\\VLM\\Product Registration\\VLM";

void collect(SystemInfo& system)
{
  system.collect(windowsNt4());
}

TEST(PhonePageTexts, ShowTheRecordAndTheProducts)
{
  resetTestRegistry();
  setTestText(registryCurrentUser, brandKey, "prodName", "Suite");
  setTestText(registryCurrentUser, brandKey, "numOfProds", "2");
  setTestText(registryCurrentUser, brandKey, "prod1", " A");
  setTestText(registryCurrentUser, brandKey, "prod2", "B ");
  RegistrationRecord record;
  record.setEmail("ann@example.com");
  record.setEmailContact(1);
  record.setIndustryText("Banking");
  record.setEmployeesText("1-9");
  record.setPurchaseReasonText("Price");
  record.setQuestion10("9");
  record.setQuestion11("0");
  record.setClientNumber("ANN123");
  record.addressView().setCountry("United States", 158);

  SystemInfo system;
  collect(system);
  PhonePageTexts texts = phonePageTexts(record, system);
  EXPECT_EQ(texts.productName, "Suite");
  EXPECT_EQ(texts.products, "A B");
  EXPECT_EQ(texts.email, "ann@example.com");
  EXPECT_EQ(texts.emailMessage, "You may contact me by e-mail.");
  EXPECT_EQ(texts.purchaseReason, "Price");
  EXPECT_EQ(texts.industry, "Banking");
  EXPECT_EQ(texts.employees, "1-9");
  EXPECT_EQ(texts.osName, "Windows NT");
  EXPECT_EQ(texts.osVersion, "V4.0 (Build 1381)");
  EXPECT_EQ(texts.installationLocation, "9");
  EXPECT_EQ(texts.benefits, "0");
  EXPECT_EQ(texts.clientNumber, "ANN123");
  EXPECT_EQ(texts.version, "Ommel 1.20e.990506 VLM");
  EXPECT_EQ(texts.heading, loadText(IDS_PHONE_HEADING) + " 555-0158");
}

TEST(PhonePageTexts, HandleNoProductsNoContactAndNoNumber)
{
  resetTestRegistry();
  RegistrationRecord record;
  record.setEmailContact(0);
  record.addressView().setCountry("Andorra", 2);
  SystemInfo system;
  collect(system);
  PhonePageTexts texts = phonePageTexts(record, system);
  EXPECT_EQ(texts.productName, "");
  EXPECT_EQ(texts.products, "");
  EXPECT_EQ(texts.emailMessage, "You may NOT contact me by e-mail.");
  // Andorra has no number: the heading ends with the text's own closing blank.
  CString heading = loadText(IDS_PHONE_HEADING);
  EXPECT_EQ(heading.Right(1), " ");
  EXPECT_EQ(texts.heading.Left(heading.GetLength()), heading);
  CString rest = texts.heading.Mid(heading.GetLength());
  rest.TrimLeft();
  EXPECT_EQ(rest, "");
}

TEST(PhonePageTexts, StopAtTheProductsThatCanExist)
{
  resetTestRegistry();
  setTestText(registryCurrentUser, brandKey, "numOfProds", "2147483647");
  setTestText(registryCurrentUser, brandKey, "prod1", "Only");
  RegistrationRecord record;
  SystemInfo system;
  collect(system);
  EXPECT_EQ(phonePageTexts(record, system).products, "Only");
}

}  // namespace
