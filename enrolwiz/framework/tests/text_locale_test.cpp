// The locale port: code pages from locale names, double-byte lead bytes and
// the character classes of a code page, for any locale name.
#include <gtest/gtest.h>

#include "framework/text_locale.h"

TEST(TextLocale, CodePageFollowsTheDot)
{
  EXPECT_EQ(codePageOfLocale("German_Germany.1252"), 1252);
  EXPECT_EQ(codePageOfLocale("Chinese_Taiwan.950"), 950);
  EXPECT_EQ(codePageOfLocale("C"), 0);
  EXPECT_EQ(codePageOfLocale("x.abc"), 0);
  EXPECT_EQ(codePageOfLocale("Japanese_Japan.932x"), 932);
}

TEST(TextLocale, LeadBytesOfTheDoubleByteCodePages)
{
  EXPECT_TRUE(isLeadByte(932, 0x81));
  EXPECT_TRUE(isLeadByte(932, 0x9F));
  EXPECT_FALSE(isLeadByte(932, 0xA0));
  EXPECT_FALSE(isLeadByte(932, 0xB1));   // a single-byte katakana
  EXPECT_TRUE(isLeadByte(932, 0xE0));
  EXPECT_TRUE(isLeadByte(932, 0xFC));
  EXPECT_FALSE(isLeadByte(932, 0xFD));
  for (int cp : {936, 949, 950}) {
    EXPECT_FALSE(isLeadByte(cp, 0x80)) << cp;
    EXPECT_TRUE(isLeadByte(cp, 0x81)) << cp;
    EXPECT_TRUE(isLeadByte(cp, 0xFE)) << cp;
    EXPECT_FALSE(isLeadByte(cp, 0xFF)) << cp;
  }
  EXPECT_FALSE(isLeadByte(1252, 0x81));
  EXPECT_FALSE(isLeadByte(932, 'A'));
}

TEST(TextLocale, ClassesOfAWesternCodePage)
{
  TextLocale german("German_Germany.1252");
  EXPECT_EQ(german.codePage(), 1252);
  EXPECT_TRUE(german.isAlpha('a'));
  EXPECT_TRUE(german.isAlpha(0xE9));     // e acute
  EXPECT_TRUE(german.isAlpha(0xDF));     // sharp s
  EXPECT_FALSE(german.isAlpha(0xD7));    // multiplication sign
  EXPECT_FALSE(german.isAlpha('1'));
  EXPECT_TRUE(german.isSpace(' '));
  EXPECT_TRUE(german.isSpace('\t'));
  EXPECT_FALSE(german.isSpace(0xE9));
  EXPECT_TRUE(german.isDigit('7'));
  EXPECT_FALSE(german.isDigit(0xB2));    // superscript two is no decimal digit
  EXPECT_FALSE(german.isLeadByte(0x81));
}

TEST(TextLocale, TheCLocaleIsAscii)
{
  TextLocale c("C");
  EXPECT_EQ(c.codePage(), 0);
  EXPECT_TRUE(c.isAlpha('Z'));
  EXPECT_FALSE(c.isAlpha(0xE9));
  EXPECT_FALSE(c.isLeadByte(0x81));
}

TEST(TextLocale, ClassesOfADoubleByteCodePage)
{
  TextLocale japanese("Japanese_Japan.932");
  EXPECT_TRUE(japanese.isLeadByte(0x82));
  EXPECT_FALSE(japanese.isAlpha(0x82));
  EXPECT_TRUE(japanese.isAlpha(0xB1));   // half-width katakana A
  EXPECT_TRUE(japanese.isAlpha('q'));
}

TEST(TextLocale, SelectsLocalesByWindowsName)
{
  CString before = currentLocaleName();
  EXPECT_EQ(selectLocale("German"), "German_Germany.1252");
  EXPECT_EQ(currentLocaleName(), "German_Germany.1252");
  EXPECT_EQ(TextLocale::current().codePage(), 1252);
  EXPECT_EQ(selectLocale("Klingon_Qonos.1"), "");
  EXPECT_EQ(currentLocaleName(), "German_Germany.1252");   // a refused name changes nothing
  EXPECT_EQ(selectLocale("C"), "C");
  EXPECT_EQ(TextLocale::current().codePage(), 0);
  (void)before;
}
