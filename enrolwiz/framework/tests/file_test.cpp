// CFile and CStdioFile: text-mode line ends on disk, appending without
// truncation, and failures as CFileException with a message naming the file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "framework/file.h"

namespace {

std::string scratchPath(const char* name)
{
  std::string dir = testing::TempDir();
  return dir + "enrolwiz_file_test_" + name;
}

std::string bytesOf(const std::string& path)
{
  std::string bytes;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f)
    return "<missing>";
  int c;
  while ((c = fgetc(f)) != EOF)
    bytes += static_cast<char>(c);
  fclose(f);
  return bytes;
}

}  // namespace

TEST(CStdioFile, WritesAndReadsTextLinesWithCrLfOnDisk)
{
  std::string path = scratchPath("lines.txt");
  {
    CStdioFile out;
    ASSERT_TRUE(out.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeText));
    out.WriteString("user_pref(\"network.proxy.http\", \"p1\");\n");
    out.WriteString("last line without end");
    out.Close();
  }
  EXPECT_EQ(bytesOf(path), "user_pref(\"network.proxy.http\", \"p1\");\r\nlast line without end");
  CStdioFile in(path.c_str(), CFile::modeRead);
  CString line;
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_EQ(line, "user_pref(\"network.proxy.http\", \"p1\");");
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_EQ(line, "last line without end");
  EXPECT_FALSE(in.ReadString(line));
  EXPECT_EQ(line, "");
  in.Close();
  remove(path.c_str());
}

TEST(CStdioFile, ReadsLinesLongerThanOneChunk)
{
  std::string path = scratchPath("long.txt");
  std::string longLine(2000, 'x');
  FILE* f = fopen(path.c_str(), "wb");
  fputs((longLine + "\nshort\n").c_str(), f);
  fclose(f);
  CStdioFile in(path.c_str(), CFile::modeRead | CFile::typeText);
  CString line;
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_EQ(line.GetLength(), 2000);
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_EQ(line, "short");
  in.Close();
  remove(path.c_str());
}

TEST(CStdioFile, AppendsToAnExistingFileWithoutTruncating)
{
  std::string path = scratchPath("bookmark.htm");
  FILE* f = fopen(path.c_str(), "wb");
  fputs("</DL><p>\r\n", f);
  fclose(f);
  CStdioFile file;
  ASSERT_TRUE(file.Open(path.c_str(), CFile::modeReadWrite | CFile::typeText));
  file.SeekToEnd();
  file.WriteString("<DT>entry\n");
  file.Close();
  EXPECT_EQ(bytesOf(path), "</DL><p>\r\n<DT>entry\r\n");

  ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite));
  file.Close();
  EXPECT_EQ(bytesOf(path), "</DL><p>\r\n<DT>entry\r\n");
  CFileStatus status;
  EXPECT_TRUE(CFile::GetStatus(path.c_str(), status));
  EXPECT_EQ(status.m_size, 21);
  CFile::Remove(path.c_str());
  EXPECT_FALSE(CFile::GetStatus(path.c_str(), status));
}

TEST(CFile, ReadWriteWithoutCreateNeedsTheFile)
{
  std::string path = scratchPath("absent.htm");
  remove(path.c_str());
  CStdioFile file;
  CFileException error;
  EXPECT_FALSE(file.Open(path.c_str(), CFile::modeReadWrite | CFile::typeText, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  char message[1024];
  EXPECT_TRUE(error.GetErrorMessage(message, sizeof message));
  EXPECT_EQ(std::string(message), path + " was not found.");
}

TEST(CFile, ConstructorThrowsAFileExceptionPointer)
{
  std::string path = scratchPath("missing/prefs.js");
  try {
    CStdioFile file(path.c_str(), CFile::modeRead | CFile::typeText);
    FAIL() << "no exception";
  } catch (CException* e) {
    char message[16];
    EXPECT_TRUE(e->GetErrorMessage(message, sizeof message));
    EXPECT_EQ(strlen(message), 15u);   // cut to the buffer
    EXPECT_NE(dynamic_cast<CFileException*>(e), nullptr);
    e->Delete();
  }
}

TEST(CFile, BinaryReadWriteAndLength)
{
  std::string path = scratchPath("data.bin");
  CFile out(path.c_str(), CFile::modeCreate | CFile::modeWrite);
  out.Write("a\nb\0c", 5);
  out.Close();
  CFile in(path.c_str(), CFile::modeRead);
  EXPECT_EQ(in.GetLength(), 5);
  char buffer[8] = {0};
  EXPECT_EQ(in.Read(buffer, sizeof buffer), 5u);
  EXPECT_EQ(std::string(buffer, 5), std::string("a\nb\0c", 5));
  EXPECT_EQ(in.Seek(1, CFile::begin), 1);
  EXPECT_EQ(in.GetPosition(), 1);
  in.Abort();
  try {
    in.Read(buffer, 1);
    ADD_FAILURE() << "read after Abort";
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, CFileException::invalidFile);
    e->Delete();
  }
  remove(path.c_str());
}

TEST(CException, BaseHasNoMessage)
{
  CException* e = new CException;
  char message[8] = "junk";
  EXPECT_FALSE(e->GetErrorMessage(message, sizeof message));
  EXPECT_STREQ(message, "");
  e->Delete();
}
