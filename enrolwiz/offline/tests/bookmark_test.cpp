// Bookmarks: the default browser decides; Netscape's bookmark file gets the
// entry line appended (never created); message 122 at the first failure.
#include "offline/tests/bookmark_test.h"

#include <fstream>
#include <sstream>

#include "app/reg_exception.h"
#include "string_ids.h"

std::vector<unsigned> reportedMessages;

int CRegException::Report()
{
  reportedMessages.push_back(messageId());
  return 1;
}

void BookmarkTest::SetUp()
{
  resetTestRegistry();
  reportedMessages.clear();
  dir = makeTestDirectory();
  ASSERT_FALSE(dir.empty());
}

void BookmarkTest::defaultBrowser(const char* value)
{
  ASSERT_EQ(setTestText(registryClassesRoot, ".htm", "", value), 0);
}

bool BookmarkTest::add(std::vector<int> ticked)
{
  for (int i : ticked)
    record.setBookmarkChoice(i, 1);
  return addBookmarks(record);
}

bool BookmarkTest::exists(const std::string& file)
{
  return std::ifstream(file, std::ios::binary).good();
}

std::string BookmarkTest::contents(const std::string& file)
{
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

namespace {

const char users[] = "SOFTWARE\\Netscape\\Netscape Navigator\\Users";
const char bookmarkFile[] = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Bookmarks</TITLE>\r\n<DL><p>\r\n</DL><p>\r\n";

class NetscapeBookmarks : public BookmarkTest {
protected:
  void SetUp() override
  {
    BookmarkTest::SetUp();
    defaultBrowser("NetscapeMarkup");
    setTestText(registryLocalMachine, users, "CurrentUser", "ann");
    setTestText(registryLocalMachine, (std::string(users) + "\\ann").c_str(), "DirRoot", path("ann").c_str());
    writeTestFile(path("ann\\prefs.js"), "");
  }

  std::string bookmarks() const { return path("ann\\bookmark.htm"); }

  static std::string entry(const char* title, unsigned addressId)
  {
    return "<DT><A HREF=\"" + std::string(loadText(addressId)) +
           "\" ADD_DATE=\"910212194\" LAST_VISIT=\"0\" LAST_MODIFIED=\"0\">" + title + "</A>\r\n";
  }
};

}  // namespace

TEST_F(NetscapeBookmarks, NothingTickedTouchesNothing)
{
  writeTestFile(bookmarks(), bookmarkFile);
  EXPECT_TRUE(add({}));
  EXPECT_EQ(contents(bookmarks()), bookmarkFile);
  // Not even the default browser is looked at.
  defaultBrowser("unknown");
  EXPECT_TRUE(add({}));
  EXPECT_TRUE(reportedMessages.empty());
}

TEST_F(NetscapeBookmarks, EntriesAppendedAfterTheClosingMarkup)
{
  writeTestFile(bookmarks(), bookmarkFile);
  defaultBrowser("netscapemarkup");
  EXPECT_TRUE(add({0, 2}));
  std::string once = entry("Shop VLM", IDS_BOOKMARK_ADDRESS_SHOP) + entry("VLM Software", IDS_BOOKMARK_ADDRESS_SOFTWARE);
  EXPECT_EQ(contents(bookmarks()), bookmarkFile + once);
  // Every Submit adds them again.
  EXPECT_TRUE(add({0, 2}));
  EXPECT_EQ(contents(bookmarks()), bookmarkFile + once + once);
  EXPECT_TRUE(reportedMessages.empty());
}

TEST_F(NetscapeBookmarks, NoBookmarkFile)
{
  EXPECT_FALSE(add({1}));
  EXPECT_FALSE(exists(bookmarks()));
  EXPECT_EQ(reportedMessages, std::vector<unsigned>{IDS_BOOKMARKS_FAILED});
}

TEST_F(BookmarkTest, NoOrUnknownDefaultBrowser)
{
  EXPECT_FALSE(add({0}));
  defaultBrowser("FirefoxHTML");
  EXPECT_FALSE(add({0, 1, 2}));
  EXPECT_EQ(reportedMessages, (std::vector<unsigned>{IDS_BOOKMARKS_FAILED, IDS_BOOKMARKS_FAILED}));
}
