// The registry port and its two readers against a .reg fixture: natively on
// the in-memory hive, under Wine on Wine's registry loaded by regedit.
#include <gtest/gtest.h>

#include <string>

#include "framework/registry.h"
#include "framework/registry_readers.h"
#include "framework/tests/test_registry.h"

namespace {

const char* const readers = "Software\\WzReaders";

class Registry : public testing::Test {
protected:
  void SetUp() override
  {
    resetTestRegistry();
    ASSERT_EQ(importRegistryFixture(testDataFile(WZ_TEST_DATA, "readers.reg")), "");
  }
  static CString text(const char* name) { return readRegistryText(registryCurrentUser, readers, name); }
  static int number(const char* name) { return readRegistryNumber(registryCurrentUser, readers, name); }
};

}  // namespace

TEST_F(Registry, TextsWhateverTheirType)
{
  EXPECT_EQ(text("text"), "hello");
  EXPECT_EQ(text(""), "default text");
  EXPECT_EQ(text("quoted"), "say \"hi\" to C:\\temp");
  EXPECT_EQ(text("empty"), "");
  EXPECT_EQ(text("number"), "12abc");
  EXPECT_EQ(text("dword"), "*");          // the bytes 2a 00 00 00
  EXPECT_EQ(text("multi"), "a");          // up to the first zero
  EXPECT_EQ(text("TEXT"), "hello");       // value names ignore case
  EXPECT_EQ(readRegistryText(registryCurrentUser, "software\\wzreaders", "text"), "hello");
  EXPECT_EQ(readRegistryText(registryLocalMachine, "SOFTWARE\\WzReaders", "where"), "machine");
  EXPECT_EQ(readRegistryText(registryClassesRoot, ".wzreaders", ""), "WzReadersFile");
}

TEST_F(Registry, NumbersByType)
{
  EXPECT_EQ(number("number"), 12);
  EXPECT_EQ(number("negative"), -7);
  EXPECT_EQ(number("text"), 0);
  EXPECT_EQ(number("empty"), 0);
  EXPECT_EQ(number("huge"), 2147483647);
  EXPECT_EQ(number("dword"), 42);
  EXPECT_EQ(number("highDword"), -1);
  EXPECT_EQ(number("binary"), 0x0201);    // the first four bytes, little-endian
  EXPECT_EQ(number("shortBinary"), 5);    // the bytes it lacks count as zero
  EXPECT_EQ(number("multi"), -1);
  EXPECT_EQ(number("expand"), -1);
}

TEST_F(Registry, MissingKeysAndValues)
{
  EXPECT_EQ(text("absent"), "");
  EXPECT_EQ(number("absent"), -1);
  EXPECT_EQ(readRegistryText(registryCurrentUser, "Software\\WzAbsent", "text"), "");
  EXPECT_EQ(readRegistryNumber(registryCurrentUser, "Software\\WzAbsent", "number"), -1);
  EXPECT_EQ(readRegistryText(registryLocalMachine, readers, "text"), "");
}

TEST_F(Registry, ValuesLongerThanTheBufferFail)
{
  EXPECT_EQ(text("fits1024"), CString('a', 1023));
  EXPECT_EQ(text("over1024"), "");
  EXPECT_EQ(number("fits256"), 12);
  EXPECT_EQ(number("over256"), -1);
  // A long value that is no number still reads as text.
  EXPECT_EQ(number("fits1024"), -1);
}

TEST_F(Registry, TextWithoutItsTerminatingZero)
{
  setTestValue(registryCurrentUser, readers, "unterminated", registryText, "xyz");
  EXPECT_EQ(text("unterminated"), "xyz");
  setTestValue(registryCurrentUser, readers, "full", registryBinary, std::string(1024, 'c'));
  EXPECT_EQ(text("full"), CString('c', 1024));
  setTestValue(registryCurrentUser, readers, "digits", registryText, std::string(256, '7'));
  EXPECT_EQ(number("digits"), 2147483647);
}

TEST_F(Registry, SetTextWritesTheTextAndItsZero)
{
  ASSERT_EQ(setTestText(registryCurrentUser, "Software\\WzReaders\\New\\Deeper", "one", "1"), registryOk);
  TestValue one = queryTestValue(registryCurrentUser, "Software\\WzReaders\\New\\Deeper", "one");
  EXPECT_EQ(one.status, registryOk);
  EXPECT_EQ(one.type, static_cast<unsigned>(registryText));
  EXPECT_EQ(one.bytes, std::string("1\0", 2));
  EXPECT_EQ(number("absent"), -1);
  ASSERT_EQ(setTestText(registryCurrentUser, readers, "number", "77"), registryOk);
  EXPECT_EQ(number("number"), 77);    // overwritten in place
}

TEST_F(Registry, QueryReportsTheSizeItNeeds)
{
  RegistryKey key;
  ASSERT_EQ(key.open(registryCurrentUser, readers, registryQueryValue), registryOk);
  char buffer[8];
  unsigned type = 0, size = 3;
  EXPECT_EQ(key.query("text", type, buffer, size), registryMoreData);
  EXPECT_EQ(size, 6u);
  size = sizeof buffer;
  EXPECT_EQ(key.query("text", type, buffer, size), registryOk);
  EXPECT_EQ(type, static_cast<unsigned>(registryText));
  EXPECT_EQ(std::string(buffer, size), std::string("hello\0", 6));
  size = sizeof buffer;
  EXPECT_EQ(key.query("absent", type, buffer, size), registryNotFound);
}

TEST_F(Registry, AccessIsThatOfTheOpenKey)
{
  RegistryKey key;
  ASSERT_EQ(key.open(registryCurrentUser, readers, registryQueryValue), registryOk);
  EXPECT_EQ(key.setText("text", "changed"), registryAccessDenied);
  EXPECT_EQ(text("text"), "hello");
  RegistryKey writer;
  ASSERT_EQ(writer.open(registryCurrentUser, readers, registrySetValue), registryOk);
  char buffer[16];
  unsigned type = 0, size = sizeof buffer;
  EXPECT_EQ(writer.query("text", type, buffer, size), registryAccessDenied);
  EXPECT_EQ(writer.setText("text", "changed"), registryOk);
  EXPECT_EQ(text("text"), "changed");
  EXPECT_EQ(key.open(registryCurrentUser, "Software\\WzAbsent", registryQueryValue), registryNotFound);
  EXPECT_FALSE(key.isOpen());
}

TEST_F(Registry, SubkeysEnumerateInOrderOfTheirNames)
{
  RegistryKey key;
  ASSERT_EQ(key.open(registryCurrentUser, readers, registryRead), registryOk);
  char name[1024];
  std::string names;
  unsigned i = 0;
  for (; key.enumSubKey(i, name, sizeof name) == registryOk; i++)
    names += std::string(name) + ";";
  EXPECT_EQ(names, "alpha;Beta;Gamma;");
  EXPECT_EQ(key.enumSubKey(i, name, sizeof name), registryNoMoreItems);
  EXPECT_EQ(key.enumSubKey(0, name, 5), registryMoreData);    // "alpha" and its zero need 6
}

TEST_F(Registry, CreateOpensWhatIsThere)
{
  RegistryKey software, made;
  ASSERT_EQ(software.open(registryCurrentUser, "Software", registryCreateSubKey), registryOk);
  ASSERT_EQ(made.create(software, "WzReaders"), registryOk);
  EXPECT_EQ(made.setText("added", "x"), registryOk);
  EXPECT_EQ(text("text"), "hello");
  EXPECT_EQ(text("added"), "x");
  EXPECT_TRUE(testKeyExists(registryCurrentUser, "Software\\WzReaders\\Gamma"));
}

TEST_F(Registry, ContinuedHexLinesAreOneValue)
{
  TestValue value = queryTestValue(registryCurrentUser, "Software\\WzReaders\\Gamma", "continued");
  ASSERT_EQ(value.status, registryOk);
  EXPECT_EQ(value.type, static_cast<unsigned>(registryBinary));
  ASSERT_EQ(value.bytes.size(), 26u);
  EXPECT_EQ(value.bytes[25], 0x19);
}
