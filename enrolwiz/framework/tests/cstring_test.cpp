// CString: slicing and searching at the edges, case mapping, trimming,
// formatting, buffers and string-table loading.
#include <gtest/gtest.h>

#include "framework/cstring.h"
#include "framework/text_locale.h"
#include "string_ids.h"

TEST(CString, SlicesStayInsideTheText)
{
  CString s("abcdef");
  EXPECT_EQ(s.Left(2), "ab");
  EXPECT_EQ(s.Left(99), "abcdef");
  EXPECT_EQ(s.Left(-1), "");
  EXPECT_EQ(s.Mid(4), "ef");
  EXPECT_EQ(s.Mid(6), "");
  EXPECT_EQ(s.Mid(9), "");
  EXPECT_EQ(s.Mid(-3, 2), "ab");
  EXPECT_EQ(s.Mid(1, 0), "");
  EXPECT_EQ(s.Mid(2, 99), "cdef");
  EXPECT_EQ(s.Right(2), "ef");
  EXPECT_EQ(s.Right(0), "");
  EXPECT_EQ(s.Right(10), "abcdef");
  EXPECT_EQ(s.GetAt(6), '\0');
  EXPECT_EQ(s.GetAt(-1), '\0');
}

TEST(CString, FindsCharactersAndTexts)
{
  CString s("a=b=c");
  EXPECT_EQ(s.Find('='), 1);
  EXPECT_EQ(s.Find('=', 2), 3);
  EXPECT_EQ(s.Find('=', 5), -1);
  EXPECT_EQ(s.Find('x'), -1);
  EXPECT_EQ(s.Find("b=c"), 2);
  EXPECT_EQ(s.Find("=", 4), -1);
  EXPECT_EQ(s.Find(""), 0);
  EXPECT_EQ(s.ReverseFind('='), 3);
  EXPECT_EQ(s.FindOneOf("cb"), 2);
  EXPECT_EQ(s.FindOneOf(""), -1);
  EXPECT_EQ(CString().Find('a'), -1);
}

TEST(CString, ComparesAndJoins)
{
  CString s("Location:");
  EXPECT_EQ(s.CompareNoCase("LOCATION:"), 0);
  EXPECT_LT(CString("abc").CompareNoCase("ABD"), 0);
  EXPECT_GT(CString("abcd").CompareNoCase("ABC"), 0);
  EXPECT_TRUE(CString("x") != "y");
  EXPECT_EQ("GET " + CString("/x") + '\n', "GET /x\n");
  CString t;
  t += "a";
  t += CString("b");
  t += 'c';
  EXPECT_EQ(t, "abc");
  EXPECT_EQ(t.GetLength(), 3);
  EXPECT_EQ(CString('-', 3), "---");
  EXPECT_EQ(CString("abcdef", 3), "abc");
  EXPECT_EQ(CString(static_cast<const char*>(nullptr)), "");
}

TEST(CString, MapsCaseOfAsciiLettersOnly)
{
  CString s("Http://Host-\xE9");
  s.MakeUpper();
  EXPECT_EQ(s, "HTTP://HOST-\xE9");
  s.MakeLower();
  EXPECT_EQ(s, "http://host-\xE9");
}

TEST(CString, CaseMappingLeavesDoubleByteCharactersAlone)
{
  CString before = currentLocaleName();
  ASSERT_FALSE(selectLocale("Japanese_Japan.932").IsEmpty());
  // 0x83 0x61 is one double-byte character whose second byte is "a".
  CString s("a\x83" "a");
  s.MakeUpper();
  EXPECT_EQ(s, "A\x83" "a");
  s = "\x83";   // a lone lead byte at the end is a character of its own
  s.MakeUpper();
  EXPECT_EQ(s, "\x83");
  selectLocale("C");
  (void)before;
}

TEST(CString, TrimsWhiteSpaceAndRemovesCharacters)
{
  CString s(" \t ab c \r\n");
  s.TrimLeft();
  EXPECT_EQ(s, "ab c \r\n");
  s.TrimRight();
  EXPECT_EQ(s, "ab c");
  CString guid("{A-B}");
  EXPECT_EQ(guid.Remove('-'), 1);
  EXPECT_EQ(guid.Remove('x'), 0);
  EXPECT_EQ(guid, "{AB}");
  CString blank("   ");
  blank.TrimRight();
  EXPECT_TRUE(blank.IsEmpty());
}

TEST(CString, FormatsAnyLength)
{
  CString s;
  s.Format("V%d.%d (Build %d)", 4, 0, 1381);
  EXPECT_EQ(s, "V4.0 (Build 1381)");
  CString longer;
  longer.Format("%s%s", std::string(3000, 'x').c_str(), "end");
  EXPECT_EQ(longer.GetLength(), 3003);
  EXPECT_EQ(longer.Right(3), "end");
}

TEST(CString, BuffersTakeTheTextBack)
{
  CString s("abc");
  char* p = s.GetBuffer(10);
  strcpy(p, "hello");
  s.ReleaseBuffer();
  EXPECT_EQ(s, "hello");
  p = s.GetBuffer(0);
  s.ReleaseBuffer(2);
  EXPECT_EQ(s, "he");
  p = s.GetBufferSetLength(4);
  memcpy(p, "wxyz", 4);
  s.ReleaseBuffer(4);
  EXPECT_EQ(s, "wxyz");
}

TEST(CString, LoadsStringTableTexts)
{
  CString s("old");
  EXPECT_TRUE(s.LoadString(IDS_CAPTION));
  EXPECT_EQ(s, "VLM Product Registration");
  EXPECT_FALSE(s.LoadString(606));    // an id without a text
  EXPECT_EQ(s, "");
  EXPECT_EQ(loadText(111), "");
  EXPECT_EQ(loadText(IDS_CONNECTION_FAILED), " ");
  EXPECT_EQ(loadText(IDS_FORBIDDEN_CHARACTERS),
            "\"|\" Pipe and \"\\\" Backslash are invalid characters. Please remove them from your response.");
}
