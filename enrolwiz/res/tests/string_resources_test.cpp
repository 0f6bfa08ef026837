// enrolwiz.exe's STRINGTABLE, read through LoadString, holds exactly the texts
// of the native table: every id, every byte (Windows-1252 included).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "framework/resources.h"
#include "framework/string_table.h"
#include "string_ids.h"

namespace {

// enrolwiz.exe beside this program, loaded for its resources only.
ResourceModule programResources()
{
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string file(path, n);
  file = file.substr(0, file.find_last_of("\\/") + 1) + "enrolwiz.exe";
  return reinterpret_cast<ResourceModule>(LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

}  // namespace

TEST(StringResources, EveryIdMatchesTheNativeTable)
{
  ResourceModule exe = programResources();
  ASSERT_NE(exe, nullptr);
  int compared = 0;
  for (UINT id = 1; id < 65536; ++id) {
    const char* native = builtInStringText(id);
    CString loaded = loadModuleText(exe, id);
    if (!native) {
      EXPECT_EQ(loaded, "") << "id " << id << " has a resource text but no native one";
      continue;
    }
    // LoadString cannot tell an empty text from none; the table holds no empty text.
    ASSERT_NE(*native, '\0') << id;
    EXPECT_EQ(std::string(loaded), std::string(native)) << "id " << id;
    ++compared;
  }
  EXPECT_EQ(compared, builtInStringCount);
  EXPECT_GT(compared, 500);
}

TEST(StringResources, KnownTextsThroughLoadString)
{
  ResourceModule exe = programResources();
  ASSERT_NE(exe, nullptr);
  EXPECT_EQ(loadModuleText(exe, IDS_CAPTION), "VLM Product Registration");
  EXPECT_EQ(loadModuleText(exe, IDS_CONNECTION_FAILED), " ");
  EXPECT_EQ(loadModuleText(exe, 606), "");
  EXPECT_EQ(loadModuleText(exe, IDS_VERSION), "Ommel 1.20e.990506 VLM");
  CString forbidden = loadModuleText(exe, IDS_FORBIDDEN_CHARACTERS);
  EXPECT_EQ(forbidden.Left(13), "\"|\" Pipe and ");
  EXPECT_EQ(forbidden.Mid(13, 4), "\"\\\" ");
  // The long phone heading arrives whole, its closing blank included.
  CString heading = loadModuleText(exe, IDS_PHONE_HEADING);
  EXPECT_GT(heading.GetLength(), 300);
  EXPECT_EQ(heading.Right(2), ": ");
}

TEST(StringResources, WindowsCodePageBytesSurvive)
{
  // Some text of the table holds a byte above 0x7F (an address line).
  int found = 0;
  for (int i = 0; i < builtInStringCount; ++i) {
    const StringTableEntry& e = builtInStrings[i];
    for (const char* p = e.text; *p; ++p) {
      if (static_cast<unsigned char>(*p) >= 0x80) {
        EXPECT_EQ(std::string(loadModuleText(programResources(), e.id)), e.text);
        ++found;
        break;
      }
    }
  }
  EXPECT_GT(found, 0);
}
