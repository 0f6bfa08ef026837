// A language's resource library replaces the program's texts once its profile
// is made; without one the program's own texts stay.
#include <gtest/gtest.h>

#include <memory>

#include "framework/resources.h"
#include "string_ids.h"
#include "tables/language_profile.h"

namespace {

class ResourceLibrary : public testing::Test {
protected:
  void TearDown() override { setResourceModule(programModule()); }
};

}  // namespace

TEST_F(ResourceLibrary, TheLanguagesLibraryGivesTheTexts)
{
  ASSERT_EQ(loadText(IDS_CAPTION), "VLM Product Registration");
  testing::internal::CaptureStdout();
  std::unique_ptr<LanguageProfile> danish(makeLanguageProfile(languageId("danish")));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "PRVLMDAN.dll\n");
  EXPECT_EQ(danish->libraryName(), "PRVLMDAN.dll");
  EXPECT_NE(danish->resources(), programModule());
  EXPECT_EQ(resourceModule(), danish->resources());
  EXPECT_EQ(loadText(IDS_CAPTION), "VLM Produktregistrering");
  EXPECT_EQ(loadText(IDS_FIRST_NAME_REQUIRED), "Fornavn skal udfyldes.");
  // A text the library lacks is empty, as LoadString finds it there.
  EXPECT_EQ(loadText(IDS_LAST_NAME_REQUIRED), "");
  CString caption;
  EXPECT_TRUE(caption.LoadString(IDS_CAPTION));
  EXPECT_EQ(caption, "VLM Produktregistrering");
}

TEST_F(ResourceLibrary, WithoutALibraryTheProgramsOwnTextsStay)
{
  testing::internal::CaptureStdout();
  std::unique_ptr<LanguageProfile> swedish(makeLanguageProfile(languageId("swedish")));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "PRVLMSVE.dll\n");
  EXPECT_EQ(swedish->resources(), programModule());
  EXPECT_EQ(loadText(IDS_CAPTION), "VLM Product Registration");
  EXPECT_EQ(loadResourceLibrary("PRVLMSVE.dll"), nullptr);
  EXPECT_EQ(loadResourceLibrary(""), nullptr);
}
