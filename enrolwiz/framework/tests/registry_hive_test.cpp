// The registry export text: what each form of line gives, what is refused,
// and that the hive writes back what it read.
#include <gtest/gtest.h>

#include "framework/registry_hive.h"

namespace {

std::string valueOf(RegistryHive& hive, RegistryRoot root, const std::string& path, const char* name,
                    unsigned* type = nullptr)
{
  std::vector<std::string> components;
  splitRegistryPath(path, components);
  RegistryHive::Key* key = RegistryHive::find(hive.root(root), components);
  RegistryHive::Value* value = key ? key->value(name) : nullptr;
  if (!value)
    return "(absent)";
  if (type)
    *type = value->type;
  return value->data;
}

std::string importError(const std::string& text)
{
  RegistryHive hive;
  std::string error;
  return hive.importText(text, error) ? std::string("(loaded)") : error;
}

}  // namespace

TEST(RegistryExport, EveryKindOfValue)
{
  RegistryHive hive;
  std::string error;
  ASSERT_TRUE(hive.importText("REGEDIT4\n"
                              "\n"
                              "; a comment\n"
                              "[HKEY_CURRENT_USER\\Software\\A]\n"
                              "@=\"default\"\n"
                              "\"text\" = \"a \\\"b\\\" \\\\c\"\n"
                              "\"n\"=dword:0000010f\n"
                              "\"bin\"=hex:de,ad , be,ef\n"
                              "\"multi\"=hex(7):41,00,42,00,00,\\\n"
                              "    00\n"
                              "\"none\"=hex(0):\n"
                              "[hkey_local_machine\\SOFTWARE\\B]\n"
                              "\"x\"=\"\"\n",
                              error))
      << error;
  unsigned type = 99;
  EXPECT_EQ(valueOf(hive, registryCurrentUser, "Software\\A", "", &type), std::string("default\0", 8));
  EXPECT_EQ(type, static_cast<unsigned>(registryText));
  EXPECT_EQ(valueOf(hive, registryCurrentUser, "Software\\A", "text"), std::string("a \"b\" \\c\0", 9));
  EXPECT_EQ(valueOf(hive, registryCurrentUser, "Software\\A", "n", &type), std::string("\x0f\x01\0\0", 4));
  EXPECT_EQ(type, static_cast<unsigned>(registryDword));
  EXPECT_EQ(valueOf(hive, registryCurrentUser, "Software\\A", "bin", &type), "\xde\xad\xbe\xef");
  EXPECT_EQ(type, static_cast<unsigned>(registryBinary));
  EXPECT_EQ(valueOf(hive, registryCurrentUser, "software\\a", "MULTI", &type), std::string("A\0B\0\0\0", 6));
  EXPECT_EQ(type, static_cast<unsigned>(registryMultiText));
  EXPECT_EQ(valueOf(hive, registryCurrentUser, "Software\\A", "none", &type), "");
  EXPECT_EQ(type, static_cast<unsigned>(registryNone));
  EXPECT_EQ(valueOf(hive, registryLocalMachine, "Software\\B", "x"), std::string("\0", 1));
}

TEST(RegistryExport, RemovalsAndReplacements)
{
  RegistryHive hive;
  std::string error;
  ASSERT_TRUE(hive.importText("REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\A\\B\\C]\r\n\"v\"=\"1\"\r\n"
                              "[HKEY_CURRENT_USER\\Software\\A]\r\n\"keep\"=\"k\"\r\n\"gone\"=\"g\"\r\n",
                              error))
      << error;
  ASSERT_TRUE(hive.importText("REGEDIT4\r\n[-HKEY_CURRENT_USER\\Software\\A\\B]\r\n"
                              "[HKEY_CURRENT_USER\\Software\\A]\r\n\"gone\"=-\r\n\"KEEP\"=\"new\"\r\n"
                              "[-HKEY_CURRENT_USER\\Software\\Absent]\r\n",
                              error))
      << error;
  EXPECT_EQ(valueOf(hive, registryCurrentUser, "Software\\A\\B\\C", "v"), "(absent)");
  EXPECT_EQ(valueOf(hive, registryCurrentUser, "Software\\A", "gone"), "(absent)");
  EXPECT_EQ(valueOf(hive, registryCurrentUser, "Software\\A", "keep"), std::string("new\0", 4));
}

TEST(RegistryExport, RefusesWhatRegeditWouldNotWrite)
{
  EXPECT_EQ(importError(""), "line 1: the file does not begin with REGEDIT4");
  EXPECT_EQ(importError("Windows Registry Editor Version 5.00\n"),
            "line 1: the file does not begin with REGEDIT4");
  EXPECT_EQ(importError("REGEDIT4\n\"v\"=\"x\"\n"), "line 2: value line outside a key");
  EXPECT_EQ(importError("REGEDIT4\n[HKEY_USERS\\x]\n"), "line 2: unknown root key \"HKEY_USERS\"");
  EXPECT_EQ(importError("REGEDIT4\n[HKEY_CURRENT_USER\\a\\\\b]\n"), "line 2: empty key name in the path");
  EXPECT_EQ(importError("REGEDIT4\n[HKEY_CURRENT_USER\\a\n"), "line 2: key line without \"]\"");
  EXPECT_EQ(importError("REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=\"x\\n\"\n"),
            "line 3: unknown escape in a quoted text");
  EXPECT_EQ(importError("REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=\"x\n"),
            "line 3: quoted text without its closing quote");
  EXPECT_EQ(importError("REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=dword:123456789\n"),
            "line 3: text after the value data");
  EXPECT_EQ(importError("REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=hex:01,,02\n"),
            "line 3: missing byte before \",\"");
  EXPECT_EQ(importError("REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=hex:01,\\"),
            "line 3: continuation at the end of the file");
  EXPECT_EQ(importError("REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=hex:01,\n"), "line 3: hex data ends in \",\"");
  EXPECT_EQ(importError("REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"v\"=text\n"), "line 3: unknown kind of value data");
  EXPECT_EQ(importError("REGEDIT4\n[HKEY_CURRENT_USER\\a]\nv=\"x\"\n"), "line 3: neither a key nor a value line");
  // Nothing of a file that fails is applied.
  RegistryHive hive;
  std::string error;
  EXPECT_FALSE(hive.importText("REGEDIT4\n[HKEY_CURRENT_USER\\Software\\A]\n\"v\"=\"1\"\nbad\n", error));
  EXPECT_EQ(valueOf(hive, registryCurrentUser, "Software\\A", "v"), "(absent)");
}

TEST(RegistryExport, WritesBackWhatItRead)
{
  RegistryHive hive;
  std::string error;
  std::string longBinary = "\"long\"=hex:";
  for (int i = 0; i < 40; i++)
    longBinary += "ab,";
  longBinary += "cd\n";
  ASSERT_TRUE(hive.importText("REGEDIT4\n[HKEY_CURRENT_USER\\Software\\A]\n@=\"d\"\n\"q\\\"\"=\"x\\\\y\"\n"
                              "\"n\"=dword:00000001\n\"crlf\"=hex(1):61,0d,0a,00\n" +
                                  longBinary + "[HKEY_CLASSES_ROOT\\.htm]\n@=\"htmlfile\"\n",
                              error))
      << error;
  std::string text = hive.exportText();
  EXPECT_NE(text.find("\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n@=\"d\"\r\n\"q\\\"\"=\"x\\\\y\"\r\n"
                      "\"n\"=dword:00000001\r\n\"crlf\"=hex(1):61,0d,0a,00\r\n\"long\"=hex:ab,"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("[HKEY_CLASSES_ROOT\\.htm]\r\n@=\"htmlfile\"\r\n"), std::string::npos);
  for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    EXPECT_LE(end - start, 80u);
  RegistryHive again;
  ASSERT_TRUE(again.importText(text, error)) << error;
  EXPECT_EQ(again.exportText(), text);
}
