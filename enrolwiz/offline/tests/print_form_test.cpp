// The mail-in form's lines: every value under its number, in the form's
// order, the country's mailing address at its head, the products after "23:".
#include <gtest/gtest.h>

#include <vector>

#include "data/registration_record.h"
#include "data/system_info.h"
#include "data/tests/filled_record.h"
#include "framework/tests/test_registry.h"
#include "offline/print_form.h"
#include "tables/country_table.h"

namespace {

const char brandKey[] = "Software\\VLM\\Product Registration\\VLM";

std::vector<std::string> formLines(const RegistrationRecord& record, const SystemInfo& system)
{
  CStringList lines;
  lines.AddTail("left over");
  PrintForm::build(lines, record, system);
  std::vector<std::string> out;
  for (POSITION p = lines.GetHeadPosition(); p;)
    out.push_back(std::string(lines.GetNext(p)));
  return out;
}

// The address lines of a country's row.
std::vector<std::string> mailingAddress(int country)
{
  std::vector<std::string> out;
  for (UINT id : countryRecord(country)->mailIds)
    if (id)
      out.push_back(std::string(loadText(id)));
  return out;
}

class PrintFormTest : public testing::Test {
protected:
  void SetUp() override { resetTestRegistry(); }

  void products(const char* name, std::vector<const char*> others)
  {
    setTestText(registryCurrentUser, brandKey, "prodName", name);
    setTestText(registryCurrentUser, brandKey, "numOfProds", std::to_string(others.size()).c_str());
    for (size_t i = 0; i < others.size(); ++i)
      setTestText(registryCurrentUser, brandKey, ("prod" + std::to_string(i + 1)).c_str(), others[i]);
  }

  void collect() { system.collect(windowsNt4()); }

  RegistrationRecord record;
  SystemInfo system;
};

}  // namespace

TEST_F(PrintFormTest, FilledRecord)
{
  products("Suite", {"A", "B"});
  collect();
  fillRecord(record);
  record.setClientNumber("0123ABC");
  record.addressView().setFrench(1);

  std::vector<std::string> wanted = {"Please mail your registration to:"};
  for (const std::string& line : mailingAddress(canadaIndex))
    wanted.push_back(line);
  for (const char* line : {"",
                           "23:Suite",
                           "21:A",
                           "21:B",
                           "",
                           "31:Ms.",
                           "32:Ann",
                           "33:B",
                           "34:O'Hara",
                           "35: ",
                           "51:1 Main St.",
                           "52:",
                           "53:Springfield",
                           "54:ON",
                           "55:K1A 0B1",
                           "56:CA",
                           "43:Head of R&D",
                           "44:Example Ltd.",
                           "61:555-0100   12",
                           "64:ann@example.com",
                           "",
                           "36:en_CA",
                           "7502:Windows NT",
                           "7503:V4.0 (Build 1381)",
                           "25:1",
                           "41:9",
                           "37:0",
                           "",
                           "7505:EMAILCON",
                           "7506:fr_CA",
                           "7507:",
                           "7508:2",
                           "7509:5",
                           "7512:4",
                           "7513:0123ABC",
                           "7514:Ommel 1.20e.990506 VLM"})
    wanted.push_back(line);
  EXPECT_EQ(formLines(record, system), wanted);
}

TEST_F(PrintFormTest, JapanNoProductsAndNoValues)
{
  products("Suite", {});
  collect();
  record.addressView().setCountry("Japan", japanIndex);
  std::vector<std::string> lines = formLines(record, system);
  std::vector<std::string> japan = mailingAddress(japanIndex);
  ASSERT_EQ(japan.size(), 4u);
  ASSERT_GE(lines.size(), 8u);
  EXPECT_EQ(lines[0], "Please mail your registration to:");
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.begin() + 5), japan);
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[6], "23:Suite");
  EXPECT_EQ(lines[7], "");    // no "21:" line
  EXPECT_EQ(lines[8], "31:");
  EXPECT_EQ(lines[18], "56:JP");
  // Answers never given print their labels alone.
  EXPECT_EQ(lines[lines.size() - 5], "7508:");
  EXPECT_EQ(lines[lines.size() - 2], "7513:");
}

TEST_F(PrintFormTest, CountryOutOfRange)
{
  collect();    // no products at all: "23:" alone
  for (int index : {-1, countryCount}) {
    record.addressView().setCountry("", index);
    std::vector<std::string> lines = formLines(record, system);
    ASSERT_GE(lines.size(), 17u);
    EXPECT_EQ(lines[0], "Please mail your registration to:");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "23:");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[14], "56:");
    EXPECT_EQ(lines.size(), 35u);
  }
}
