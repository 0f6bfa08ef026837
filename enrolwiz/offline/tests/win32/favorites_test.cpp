// Internet Explorer's bookmarks: ".url" shortcuts saved by the shell's object
// in the Favorites folder of the user's shell folders.
#include <windows.h>

#include <objbase.h>

#include "offline/tests/bookmark_test.h"
#include "string_ids.h"

namespace {

const char shellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class Favorites : public BookmarkTest {
protected:
  void SetUp() override
  {
    BookmarkTest::SetUp();
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    defaultBrowser("htmlfile");
    writeTestFile(path("Favorites\\Links\\placeholder"), "");
    setTestText(registryCurrentUser, shellFolders, "Favorites", path("Favorites").c_str());
  }
  void TearDown() override { ::CoUninitialize(); }

  // The shortcut's target as its file holds it.
  static std::string target(const std::string& file)
  {
    std::string text = contents(file);
    size_t at = text.find("URL=");
    if (at == std::string::npos)
      return "(no URL= in \"" + text + "\")";
    return text.substr(at + 4, text.find_first_of("\r\n", at) - at - 4);
  }
};

}  // namespace

TEST_F(Favorites, ShortcutInTheFavoritesFolder)
{
  defaultBrowser("HTMLFile");
  EXPECT_TRUE(add({0}));
  std::string shop = path("Favorites\\Shop VLM.url");
  EXPECT_EQ(target(shop), std::string(loadText(IDS_BOOKMARK_ADDRESS_SHOP)));
  EXPECT_FALSE(exists(path("Favorites\\VLM Global Services.url")));

  // Adding it again overwrites the file.
  writeTestFile(shop, "[InternetShortcut]\r\nURL=http://old.example/\r\n");
  EXPECT_TRUE(add({0}));
  EXPECT_EQ(target(shop), std::string(loadText(IDS_BOOKMARK_ADDRESS_SHOP)));
  EXPECT_TRUE(reportedMessages.empty());
}

TEST_F(Favorites, SecondOfTwoFails)
{
  // A folder where the second shortcut would go: it cannot be saved.
  writeTestFile(path("Favorites\\VLM Global Services.url\\inside"), "");
  EXPECT_FALSE(add({0, 1, 2}));
  EXPECT_EQ(target(path("Favorites\\Shop VLM.url")), std::string(loadText(IDS_BOOKMARK_ADDRESS_SHOP)));
  EXPECT_FALSE(exists(path("Favorites\\VLM Software.url")));    // stopped at the failure
  EXPECT_EQ(reportedMessages, std::vector<unsigned>{IDS_BOOKMARKS_FAILED});
}

TEST_F(Favorites, NoFavoritesFolder)
{
  setTestText(registryCurrentUser, shellFolders, "Favorites", "");
  EXPECT_FALSE(add({2}));
  setTestText(registryCurrentUser, shellFolders, "Favorites", path("missing").c_str());
  EXPECT_FALSE(add({2}));
  EXPECT_EQ(reportedMessages, (std::vector<unsigned>{IDS_BOOKMARKS_FAILED, IDS_BOOKMARKS_FAILED}));
}
