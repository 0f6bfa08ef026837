// CStringList order and CMapStringToString's hashing and iteration order, on
// which the order of the registration request's parameters rests.
#include <gtest/gtest.h>

#include <vector>

#include "framework/collections.h"
#include "map_order.h"

TEST(CStringList, KeepsOrderAtBothEnds)
{
  CStringList list;
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetHeadPosition(), nullptr);
  list.AddTail("B");
  list.AddTail("C");
  list.AddHead("A");
  EXPECT_EQ(list.GetCount(), 3);
  CString seen;
  for (POSITION p = list.GetHeadPosition(); p;)
    seen += list.GetNext(p);
  EXPECT_EQ(seen, "ABC");
  EXPECT_EQ(list.GetTail(), "C");
  EXPECT_NE(list.Find("B"), nullptr);
  EXPECT_EQ(list.Find("B", list.Find("B")), nullptr);
  EXPECT_EQ(list.GetAt(list.FindIndex(2)), "C");
  EXPECT_EQ(list.FindIndex(3), nullptr);
  EXPECT_EQ(list.RemoveHead(), "A");
  EXPECT_EQ(list.RemoveTail(), "C");
  EXPECT_EQ(list.GetHead(), "B");
  list.RemoveAll();
  EXPECT_EQ(list.GetCount(), 0);
  list.AddTail("again");
  EXPECT_EQ(list.GetHead(), "again");
}

TEST(CMapStringToString, HashesBytesAsSignedCharacters)
{
  EXPECT_EQ(CMapStringToString::HashKey(""), 0u);
  EXPECT_EQ(CMapStringToString::HashKey("a"), 97u);
  EXPECT_EQ(CMapStringToString::HashKey("ab"), 97u * 33 + 98);
  EXPECT_EQ(CMapStringToString::HashKey("\xFC"), 0xFFFFFFFCu);
}

// Every key of the record, the system information and the survey in the
// bucket the request's order needs.
TEST(CMapStringToString, PutsEveryRequestKeyInItsBucket)
{
  const struct {
    const char* key;
    unsigned bucket;
  } keys[] = {
    {"extension", 0}, {"initial", 0}, {"prefix", 0}, {"numOfProds", 1}, {"method", 2},
    {"country", 3}, {"firstName", 3}, {"q1", 4}, {"lastName", 5}, {"q2", 5},
    {"q3", 6}, {"prod10", 6}, {"email", 7}, {"q4", 7}, {"prod1", 7}, {"prod11", 7},
    {"campaign", 7}, {"numOfQuestions", 7}, {"phone", 8}, {"q5", 8}, {"prod2", 8},
    {"prod12", 8}, {"q6", 9}, {"prod3", 9}, {"q10", 10}, {"stateProv", 10}, {"zip", 10},
    {"prod4", 10}, {"city", 11}, {"q11", 11}, {"q8", 11}, {"prod5", 11}, {"company", 12},
    {"q12", 12}, {"q9", 12}, {"prod6", 12}, {"prodName", 12}, {"q13", 13}, {"prod7", 13},
    {"jobTitle", 14}, {"prod8", 14}, {"service", 14}, {"addr1", 15}, {"prod9", 15},
    {"surveyId", 15}, {"addr2", 16}, {"suffix", 16},
  };
  for (const auto& k : keys)
    EXPECT_EQ(CMapStringToString::HashKey(k.key) % 17, k.bucket) << k.key;
}

TEST(CMapStringToString, IteratesBucketsInOrderNewestKeyFirst)
{
  CMapStringToString map;
  EXPECT_EQ(map.GetHashTableSize(), 17u);
  EXPECT_EQ(map.GetStartPosition(), nullptr);
  map.SetAt("email", "e");
  map.SetAt("zip", "z");
  map.SetAt("q4", "4");
  map.SetAt("prefix", "p");
  std::vector<CString> expected = {"prefix", "q4", "email", "zip"};
  EXPECT_EQ(keysInOrder(map), expected);
  // Replacing a value does not move the key.
  map.SetAt("email", "new");
  map["q4"] = "5";
  EXPECT_EQ(keysInOrder(map), expected);
  CString value;
  EXPECT_TRUE(map.Lookup("email", value));
  EXPECT_EQ(value, "new");
  EXPECT_FALSE(map.Lookup("Email", value));   // keys are case-sensitive
  EXPECT_EQ(map.GetCount(), 4);
}

TEST(CMapStringToString, SurveyKeysComeInTheRequestOrder)
{
  CMapStringToString map;
  for (const char* key : {"campaign", "service", "method", "surveyId", "numOfQuestions"})
    map.SetAt(key, "x");
  std::vector<CString> expected = {"method", "numOfQuestions", "campaign", "service", "surveyId"};
  EXPECT_EQ(keysInOrder(map), expected);
}

TEST(CMapStringToString, RemovesKeysAndEmpties)
{
  CMapStringToString map;
  map["a"] = "1";
  map.SetAt("b", "");
  EXPECT_EQ(map.GetCount(), 2);
  EXPECT_TRUE(map.RemoveKey("a"));
  EXPECT_FALSE(map.RemoveKey("a"));
  CString value("unchanged");
  EXPECT_TRUE(map.Lookup("b", value));
  EXPECT_EQ(value, "");
  map.RemoveAll();
  EXPECT_TRUE(map.IsEmpty());
  EXPECT_EQ(map.GetStartPosition(), nullptr);
}
