// The shared text tests under single-byte and double-byte locales.
#include <gtest/gtest.h>

#include "tables/text_tests.h"

namespace {
const TextLocale western("German_Germany.1252");
const TextLocale japanese("Japanese_Japan.932");
}  // namespace

TEST(TextTests, BlankText)
{
  EXPECT_TRUE(isBlankText("", western));
  EXPECT_TRUE(isBlankText("  \t", western));
  EXPECT_FALSE(isBlankText(" x ", western));
  EXPECT_TRUE(isBlankText("  ", japanese));
  EXPECT_FALSE(isBlankText("\x81\x40", japanese));   // the double-byte blank is a character
  EXPECT_TRUE(isBlankText("\x81\x40", western) == false);
}

TEST(TextTests, ContainsLetter)
{
  EXPECT_TRUE(containsLetter("PO Box 123", western));
  EXPECT_FALSE(containsLetter("123", western));
  EXPECT_FALSE(containsLetter("   ", western));
  EXPECT_TRUE(containsLetter("12 \xC4", western));     // A umlaut
  EXPECT_FALSE(containsLetter("12 \xC4", TextLocale("C")));
  EXPECT_TRUE(containsLetter("\x93\x8C", japanese));   // a double-byte name
  EXPECT_FALSE(containsLetter("10.1.2.300", japanese));
}

TEST(TextTests, FirstDigitSkipsDoubleByteCharacters)
{
  EXPECT_EQ(firstDigitPosition("Ann", western), 0);
  EXPECT_EQ(firstDigitPosition("Ann3", western), 4);
  EXPECT_EQ(firstDigitPosition("", western), 0);
  // 0x82 0x31: the second byte looks like "1" but belongs to the character.
  EXPECT_EQ(firstDigitPosition("\x82" "1a2", japanese), 4);
  EXPECT_EQ(firstDigitPosition("\x82" "1a2", western), 2);
}

TEST(TextTests, ForbiddenCharacters)
{
  EXPECT_TRUE(hasForbiddenCharacters("a|b", western));
  EXPECT_TRUE(hasForbiddenCharacters("C:\\x", western));
  EXPECT_FALSE(hasForbiddenCharacters("", western));
  EXPECT_FALSE(hasForbiddenCharacters("Smith & Co.", western));
  // 0x95 0x5C is one character whose second byte is a backslash.
  EXPECT_FALSE(hasForbiddenCharacters("\x95\x5C", japanese));
  EXPECT_TRUE(hasForbiddenCharacters("\x95\x5C", western));
}

TEST(TextTests, EmailForm)
{
  EXPECT_TRUE(hasEmailForm(""));
  EXPECT_TRUE(hasEmailForm("ann@example.com"));
  EXPECT_FALSE(hasEmailForm("ann@example"));
  EXPECT_FALSE(hasEmailForm("ann@ex ample.com"));
  EXPECT_FALSE(hasEmailForm("ann.example.com"));
}
