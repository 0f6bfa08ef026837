// The country table, the alias table, the state lists and the operator's data
// that joins them.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "string_ids.h"
#include "tables/country_table.h"
#include "tables/operator_data.h"

TEST(CountryTable, RowsCarryTheTablesOwnCodesAndNames)
{
  EXPECT_EQ(countryCode(0), "AL");
  EXPECT_EQ(countryName(0), "Albania");
  EXPECT_EQ(countryCode(56), "GE");
  EXPECT_EQ(countryName(56), "Germany");
  EXPECT_EQ(countryCode(31), "CD");
  EXPECT_EQ(countryName(31), "Chad");
  EXPECT_EQ(countryCode(130), "SP");
  EXPECT_EQ(countryCode(166), "ZR");
  EXPECT_EQ(countryName(127), "Sao Tome & Principe");
  EXPECT_EQ(countryName(168), "Zimbabwe");
  EXPECT_EQ(countryCode(169), "");
  EXPECT_EQ(countryName(-1), "");
  EXPECT_EQ(countryRecord(169), nullptr);
  std::set<std::string> codes;
  for (int i = 0; i < countryCount; ++i) {
    const CountryRecord* r = countryRecord(i);
    ASSERT_NE(r, nullptr);
    codes.insert(r->code);
    EXPECT_FALSE(countryName(i).IsEmpty()) << i;
    EXPECT_EQ(strlen(r->code), 2u) << i;
  }
  EXPECT_EQ(codes.size(), 169u);
}

TEST(CountryTable, MinimumsOfPhoneAndPostalCode)
{
  auto minimums = [](int index) {
    const CountryRecord* r = countryRecord(index);
    return std::make_pair(r->minPhoneDigits, r->minPostalCode);
  };
  EXPECT_EQ(minimums(7), std::make_pair(1, -4));      // Austria
  EXPECT_EQ(minimums(27), std::make_pair(10, 6));     // Canada
  EXPECT_EQ(minimums(33), std::make_pair(8, -6));     // China
  EXPECT_EQ(minimums(56), std::make_pair(8, 5));      // Germany
  EXPECT_EQ(minimums(76), std::make_pair(10, 7));     // Japan
  EXPECT_EQ(minimums(143), std::make_pair(1, -4));    // Switzerland
  EXPECT_EQ(minimums(145), std::make_pair(9, 3));     // Taiwan
  EXPECT_EQ(minimums(158), std::make_pair(10, 1));    // United States
  EXPECT_EQ(minimums(14), std::make_pair(1, 1));      // Belgium
  EXPECT_EQ(minimums(157), std::make_pair(1, 1));     // United Kingdom
  int special = 0;
  for (int i = 0; i < countryCount; ++i)
    if (minimums(i) != std::make_pair(1, 1))
      ++special;
  EXPECT_EQ(special, 26);
}

TEST(CountryTable, OperatorRowsMatchTheTable)
{
  for (int i = 0; i < countryCount; ++i) {
    EXPECT_STREQ(operatorCountries[i].code, countryRecord(i)->code) << i;
    for (const char* number : countryRecord(i)->numbers)
      EXPECT_TRUE(number[0] == '\0' || (number[0] == ' ' && number[1] != '\0')) << i;
    EXPECT_NE(countryRecord(i)->mailIds[0], 0u) << i;
  }
  for (int r = 0; r < pellixNumberCount; ++r)
    EXPECT_STREQ(pellixNumbers[r].code, countryRecord(pellixNumbers[r].countryIndex)->code);
}

TEST(CountryTable, MailingAddressBlocksAreSharedAsDescribed)
{
  std::vector<std::vector<UINT>> blocks;
  std::vector<int> users;
  for (int i = 0; i < countryCount; ++i) {
    std::vector<UINT> block(countryRecord(i)->mailIds, countryRecord(i)->mailIds + 7);
    auto at = std::find(blocks.begin(), blocks.end(), block);
    if (at == blocks.end()) {
      blocks.push_back(block);
      users.push_back(1);
    } else {
      ++users[static_cast<size_t>(at - blocks.begin())];
    }
    for (UINT id : block)
      EXPECT_TRUE(id == 0 || (id >= 636 && id <= 873)) << id;
  }
  auto usersOf = [&](int index) {
    std::vector<UINT> block(countryRecord(index)->mailIds, countryRecord(index)->mailIds + 7);
    return users[static_cast<size_t>(std::find(blocks.begin(), blocks.end(), block) - blocks.begin())];
  };
  EXPECT_EQ(usersOf(158), 1);     // the United States alone
  EXPECT_EQ(usersOf(27), 11);     // the Americas, Canada among them
  EXPECT_EQ(usersOf(76), 1);      // Japan
  EXPECT_EQ(*std::max_element(users.begin(), users.end()), 115);
  int japanLines = 0;
  for (UINT id : countryRecord(76)->mailIds) {
    if (id) {
      ++japanLines;
      EXPECT_FALSE(loadText(id).IsEmpty());
    }
  }
  EXPECT_EQ(japanLines, 4);
}

TEST(CountryAliasTable, NinetyRowsInTheirOrder)
{
  int rows = 0;
  while (strcmp(countryAliasTable[rows].name, "endoflist") != 0)
    ++rows;
  EXPECT_EQ(rows, 90);
  EXPECT_EQ(countryAliasTable[rows].index, -1);
  EXPECT_EQ(countryIndexOfName("germany"), 56);
  EXPECT_EQ(countryIndexOfName("deu"), 56);
  EXPECT_EQ(countryIndexOfName("prt"), 121);
  EXPECT_EQ(countryIndexOfName("people's republic of china"), 33);
  EXPECT_EQ(countryIndexOfName("united kingdon"), 157);
  EXPECT_EQ(countryIndexOfName("norwegian"), 112);
  EXPECT_EQ(countryIndexOfName("thailand"), 148);
  EXPECT_EQ(countryIndexOfName("Germany"), -1);     // names are lower case
  EXPECT_EQ(countryIndexOfName("endoflist"), -1);
  EXPECT_EQ(countryIndexOfName(""), -1);
}

TEST(StateLists, UnitedStatesInAlphabeticalOrderOfTheirNames)
{
  std::vector<std::string> names;
  for (const StateRow& s : unitedStatesStates) {
    names.push_back(static_cast<const char*>(loadText(s.nameId)));
    EXPECT_TRUE(s.nameId >= IDS_STATE_US_AL && s.nameId <= IDS_STATE_US_WY) << s.code;
  }
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  EXPECT_STREQ(unitedStatesStates[0].code, "AL");
  EXPECT_STREQ(unitedStatesStates[1].code, "AK");
  EXPECT_STREQ(unitedStatesStates[8].code, "DC");
  EXPECT_EQ(names[8], "District of Columbia");
  EXPECT_STREQ(unitedStatesStates[50].code, "WY");
}

TEST(StateLists, CanadaAndJapan)
{
  EXPECT_STREQ(canadaProvinces[7].code, "ON");
  EXPECT_EQ(loadText(canadaProvinces[7].nameId), "Ontario");
  EXPECT_STREQ(canadaProvinces[4].code, "NF");
  EXPECT_EQ(loadText(canadaProvinces[11].nameId), "Yukon Territory");
  EXPECT_EQ(japanPrefectures[0].nameId, UINT{IDS_PREFECTURE_HOKKAIDO});
  EXPECT_EQ(japanPrefectures[46].nameId, UINT{IDS_PREFECTURE_OKINAWA});
  EXPECT_EQ(loadText(japanPrefectures[0].nameId), "Hokkaido");
  EXPECT_STREQ(japanPrefectures[0].code, "12");
  EXPECT_EQ(loadText(japanPrefectures[46].nameId), "Okinawa");
  // Each code is the place of the name in alphabetical order.
  std::vector<std::string> names;
  for (const StateRow& p : japanPrefectures)
    names.push_back(static_cast<const char*>(loadText(p.nameId)));
  std::vector<std::string> sorted = names;
  std::sort(sorted.begin(), sorted.end());
  for (size_t i = 0; i < names.size(); ++i) {
    size_t place = static_cast<size_t>(std::find(sorted.begin(), sorted.end(), names[i]) - sorted.begin()) + 1;
    EXPECT_EQ(std::to_string(place), japanPrefectures[i].code) << names[i];
  }
  EXPECT_EQ(sorted[0], "Aichi");
  EXPECT_EQ(sorted[40], "Tokyo");
}
