// Command-line splitting against the results of the Windows C runtime, and
// the argument pass of CCommandLineInfo.
#include <gtest/gtest.h>

#include <vector>

#include "framework/command_line.h"

namespace {

struct SplitCase {
  const char* commandLine;
  std::vector<const char*> arguments;   // argv[0] first
};

// argv as the C runtime of Windows builds it for these command lines; the
// first rows are the published examples of its parsing rules.
const SplitCase splitCases[] = {
    {R"(p "a b c" d e)", {"p", "a b c", "d", "e"}},
    {R"(p "ab\"c" "\\" d)", {"p", R"(ab"c)", R"(\)", "d"}},
    {R"(p a\\\b d"e f"g h)", {"p", R"(a\\\b)", "de fg", "h"}},
    {R"(p a\\\"b c d)", {"p", R"(a\"b)", "c", "d"}},
    {R"(p a\\\\"b c" d e)", {"p", R"(a\\b c)", "d", "e"}},
    {R"(p a"b"" c d)", {"p", R"(ab" c d)"}},
    // The program name: quotes group, backslashes are plain.
    {R"("C:\Program Files\VLM\enrolwiz.exe" /splashdelay=1 A)",
     {R"(C:\Program Files\VLM\enrolwiz.exe)", "/splashdelay=1", "A"}},
    {R"(C:\dir\x.exe\ a)", {R"(C:\dir\x.exe\)", "a"}},
    {R"("C:\dir"\x.exe a)", {R"(C:\dir\x.exe)", "a"}},
    // Blanks and tabs, empty and unterminated quoted arguments, trailing backslashes.
    {"p  \t a\t\tb   ", {"p", "a", "b"}},
    {R"(p "" x "")", {"p", "", "x", ""}},
    {R"(p "unterminated a b)", {"p", "unterminated a b"}},
    {R"(p a\\ b\)", {"p", R"(a\\)", R"(b\)"}},
    {R"(p \"a)", {"p", R"("a)"}},
    {R"(p """")", {"p", R"(")"}},
    {R"(p "/lang=French" -x="a b")", {"p", "/lang=French", "-x=a b"}},
    {"p", {"p"}},
    {"", {""}},
};

TEST(SplitCommandLine, GivesTheArgumentsOfTheCRuntime)
{
  for (const SplitCase& c : splitCases) {
    std::vector<CString> got = splitCommandLine(c.commandLine);
    ASSERT_EQ(got.size(), c.arguments.size()) << c.commandLine;
    for (size_t i = 0; i < got.size(); ++i)
      EXPECT_EQ(got[i], c.arguments[i]) << c.commandLine << " argument " << i;
  }
}

struct Recorder : CCommandLineInfo {
  struct Call {
    CString param;
    BOOL flag;
    BOOL last;
  };
  void ParseParam(const char* param, BOOL flag, BOOL last) override { calls.push_back({param, flag, last}); }
  std::vector<Call> calls;
};

TEST(ParseCommandLine, CallsParseParamPerArgumentWithTheSwitchRule)
{
  Recorder recorder;
  parseCommandLine(R"(enrolwiz.exe /splashdelay=1 -Lang=French A "B C" - /)", recorder);
  ASSERT_EQ(recorder.calls.size(), 6u);
  EXPECT_EQ(recorder.calls[0].param, "splashdelay=1");
  EXPECT_TRUE(recorder.calls[0].flag);
  EXPECT_EQ(recorder.calls[1].param, "Lang=French");
  EXPECT_TRUE(recorder.calls[1].flag);
  EXPECT_EQ(recorder.calls[2].param, "A");
  EXPECT_FALSE(recorder.calls[2].flag);
  EXPECT_EQ(recorder.calls[3].param, "B C");
  EXPECT_FALSE(recorder.calls[3].flag);
  EXPECT_EQ(recorder.calls[4].param, "");
  EXPECT_TRUE(recorder.calls[4].flag);
  EXPECT_TRUE(recorder.calls[5].flag);
  for (size_t i = 0; i < recorder.calls.size(); ++i)
    EXPECT_EQ(recorder.calls[i].last, i + 1 == recorder.calls.size() ? TRUE : FALSE);

  Recorder none;
  parseCommandLine("\"C:\\enrolwiz.exe\"", none);
  EXPECT_TRUE(none.calls.empty());
}

TEST(CCommandLineInfo, KeepsTheFirstPlainArgumentAsFileName)
{
  CCommandLineInfo info;
  parseCommandLine("p /x first second", info);
  EXPECT_EQ(info.m_strFileName, "first");
}

}  // namespace
