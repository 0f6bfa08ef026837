// The bookmark tests' fixture: a fresh registry and folder, the reports that
// addBookmarks makes (recorded instead of shown), the files read back.
#ifndef ENROLWIZ_OFFLINE_TESTS_BOOKMARK_TEST_H
#define ENROLWIZ_OFFLINE_TESTS_BOOKMARK_TEST_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/registration_record.h"
#include "framework/tests/test_registry.h"
#include "offline/bookmarks.h"

// The message ids reported since the test began.
extern std::vector<unsigned> reportedMessages;

class BookmarkTest : public testing::Test {
protected:
  void SetUp() override;

  void defaultBrowser(const char* value);
  // Ticks the boxes given and adds the bookmarks.
  bool add(std::vector<int> ticked);

  std::string path(const char* windowsPath) const { return testPath(dir, windowsPath); }
  static bool exists(const std::string& file);
  static std::string contents(const std::string& file);

  std::string dir;
  RegistrationRecord record;
};

#endif
