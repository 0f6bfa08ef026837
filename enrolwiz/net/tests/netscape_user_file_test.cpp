// findNetscapeUserFile: the three registry places of the user directory, each
// tried only while no candidate file exists.
#include <gtest/gtest.h>

#include "net/browser_settings.h"
#include "framework/tests/test_registry.h"

namespace {

const char* const users = "SOFTWARE\\Netscape\\Netscape Navigator\\Users";
const char* const navigator = "Software\\Netscape\\Netscape Navigator";
const char* const netcaster = "SOFTWARE\\Netscape\\Netcaster";

class NetscapeUserFile : public testing::Test {
protected:
  void SetUp() override
  {
    resetTestRegistry();
    dir = makeTestDirectory();
    ASSERT_FALSE(dir.empty());
  }
  // Method 2's registry: the user and an install directory for version 4.7.
  void navigatorInstalledIn(const std::string& installDirectory)
  {
    setTestText(registryCurrentUser, (std::string(navigator) + "\\biff").c_str(), "CurrentUser", "user1");
    setTestText(registryLocalMachine, navigator, "CurrentVersion", "4.7 (en)");
    setTestText(registryLocalMachine, (std::string(navigator) + "\\4.7 (en)\\Main").c_str(), "Install Directory",
                installDirectory.c_str());
  }
  void netcasterInstalledIn(const char* version, const std::string& installDirectory)
  {
    setTestText(registryLocalMachine, (std::string(netcaster) + "\\" + version + "\\Main").c_str(),
                "Install Directory", installDirectory.c_str());
  }
  std::string path(const char* windowsPath) const { return testPath(dir, windowsPath); }
  std::string found(const char* name = "prefs.js") const { return std::string(findNetscapeUserFile(name)); }

  std::string dir;
};

}  // namespace

TEST_F(NetscapeUserFile, NothingInTheRegistry)
{
  EXPECT_EQ(found(), "");
}

TEST_F(NetscapeUserFile, UserListDirectory)
{
  std::string profile = path("profiles\\ann");
  setTestText(registryLocalMachine, users, "CurrentUser", "ann");
  setTestText(registryLocalMachine, (std::string(users) + "\\ann").c_str(), "DirRoot", profile.c_str());
  EXPECT_EQ(found(), "");    // no file there yet
  writeTestFile(path("profiles\\ann\\prefs.js"), "");
  EXPECT_EQ(found(), path("profiles\\ann\\prefs.js"));
  EXPECT_EQ(found("bookmark.htm"), "");
  writeTestFile(path("profiles\\ann\\bookmark.htm"), "");
  EXPECT_EQ(found("bookmark.htm"), path("profiles\\ann\\bookmark.htm"));
}

TEST_F(NetscapeUserFile, InstallDirectoryUpToCommunicator)
{
  navigatorInstalledIn(path("Netscape\\Communicator\\Program"));
  EXPECT_EQ(found(), "");
  writeTestFile(path("Netscape\\Users\\user1\\prefs.js"), "");
  EXPECT_EQ(found(), path("Netscape\\Users\\user1\\prefs.js"));

  // Method 1 comes first when its file exists, and is passed over when not.
  setTestText(registryLocalMachine, users, "CurrentUser", "ann");
  setTestText(registryLocalMachine, (std::string(users) + "\\ann").c_str(), "DirRoot", path("ann").c_str());
  EXPECT_EQ(found(), path("Netscape\\Users\\user1\\prefs.js"));
  writeTestFile(path("ann\\prefs.js"), "");
  EXPECT_EQ(found(), path("ann\\prefs.js"));
}

TEST_F(NetscapeUserFile, InstallDirectoryWithoutCommunicator)
{
  navigatorInstalledIn(path("Navigator\\Program"));
  writeTestFile(path("Navigator\\Users\\user1\\prefs.js"), "");
  writeTestFile(path("Navigator\\Program\\Users\\user1\\prefs.js"), "");
  EXPECT_EQ(found(), "");
}

TEST_F(NetscapeUserFile, NetcasterDirectoriesLastEnumeratedFirst)
{
  navigatorInstalledIn(path("Navigator\\Program"));
  netcasterInstalledIn("4.0", path("old, first\\Communicator\\Program"));
  netcasterInstalledIn("4.5", path("new"));
  netcasterInstalledIn("4.6", "");
  EXPECT_EQ(found(), "");
  // A directory with a comma in its name is one entry.
  writeTestFile(path("old, first\\Users\\user1\\prefs.js"), "");
  EXPECT_EQ(found(), path("old, first\\Users\\user1\\prefs.js"));
  // "new" gets its "\"; being enumerated later, it is tried first.
  writeTestFile(path("new\\Users\\user1\\prefs.js"), "");
  EXPECT_EQ(found(), path("new\\Users\\user1\\prefs.js"));
}

TEST_F(NetscapeUserFile, NetcasterNeedsTheUserOfMethodTwo)
{
  netcasterInstalledIn("4.5", path("new\\"));
  writeTestFile(path("new\\Users\\user1\\prefs.js"), "");
  setTestText(registryLocalMachine, users, "CurrentUser", "user1");
  EXPECT_EQ(found(), "");
  setTestText(registryCurrentUser, (std::string(navigator) + "\\biff").c_str(), "CurrentUser", "user1");
  EXPECT_EQ(found(), path("new\\Users\\user1\\prefs.js"));
}
