// Outside Windows the user's locale comes from the environment: its C-library
// name is written as Windows writes it, and the active language follows it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/resources.h"
#include "framework/text_locale.h"
#include "tables/language_profile.h"

namespace {

CString userLocaleFor(const char* posixName)
{
  setenv("LC_ALL", posixName, 1);
  CString name = selectLocale("");
  selectLocale("C");
  unsetenv("LC_ALL");
  return name;
}

}  // namespace

TEST(UserLocale, EnvironmentNamesInWindowsForm)
{
  EXPECT_EQ(userLocaleFor("de_DE.UTF-8"), "German_Germany.1252");
  EXPECT_EQ(userLocaleFor("de_AT@euro"), "German_Austria.1252");
  EXPECT_EQ(userLocaleFor("en_CA.UTF-8"), "English_Canada.1252");
  EXPECT_EQ(userLocaleFor("en_US"), "English_United States.1252");
  EXPECT_EQ(userLocaleFor("ja_JP.eucJP"), "Japanese_Japan.932");
  EXPECT_EQ(userLocaleFor("zh_TW.UTF-8"), "Chinese_Taiwan.950");
  EXPECT_EQ(userLocaleFor("zh_CN.UTF-8"), "Chinese_People's Republic of China.936");
  EXPECT_EQ(userLocaleFor("pt_BR.UTF-8"), "Portuguese_Brazil.1252");
  EXPECT_EQ(userLocaleFor("pl_PL"), "Polish_Poland.1250");
  EXPECT_EQ(userLocaleFor("C"), "C");
  EXPECT_EQ(userLocaleFor("POSIX"), "C");
}

TEST(UserLocale, ActiveLanguageFollowsTheEnvironment)
{
  setenv("LC_ALL", "pt_BR.UTF-8", 1);
  setActiveLanguage(nullptr);
  testing::internal::CaptureStdout();
  LanguageProfile* profile = activeLanguage();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Portuguese_Brazil.1252\nPRVLMPTB.dll\n");
  EXPECT_EQ(profile->languageId(), 22);
  EXPECT_EQ(profile->languageCode(), "PTB");
  EXPECT_EQ(currentLocaleName(), "Portuguese_Brazil.1252");
  setActiveLanguage(nullptr);
  selectLocale("C");
  unsetenv("LC_ALL");
  setResourceModule(programModule());
}
