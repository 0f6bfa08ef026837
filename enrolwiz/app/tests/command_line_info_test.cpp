// The option store's defaults, the argument pass's switch handling and its
// "Unknown Parameter: " lines, and the kinds of report by message id.
#include <gtest/gtest.h>

#include "app/command_line_info.h"
#include "app/options.h"
#include "app/report_kind.h"
#include "data/registry_store.h"
#include "framework/tests/test_registry.h"
#include "string_ids.h"

namespace {

TEST(Options, StartWithTheirDefaults)
{
  Options options;
  EXPECT_EQ(options.lang(), "NotSpecified");
  EXPECT_EQ(options.debug(), "No");
  EXPECT_EQ(options.connect(), "Yes");
  EXPECT_EQ(options.timeout(), "45");
  EXPECT_EQ(options.splashDelay(), "6");
}

TEST(Options, SplashDelayIsSecondsAsATimerAllowsThem)
{
  EXPECT_EQ(splashDelayMilliseconds("6"), 6000u);
  EXPECT_EQ(splashDelayMilliseconds("0"), 0u);
  EXPECT_EQ(splashDelayMilliseconds("2x"), 2000u);
  EXPECT_EQ(splashDelayMilliseconds("abc"), 0u);
  // Beyond an int the product would overflow; below zero means at once.
  EXPECT_EQ(splashDelayMilliseconds("9999999"), 0x7FFFFFFFu);
  EXPECT_EQ(splashDelayMilliseconds("-5"), 0u);
}

// The argument pass over a command line, with what it wrote to standard output.
struct Pass {
  Options options;
  CString output;
  std::vector<CString> products;
};

Pass parse(const char* commandLine)
{
  Pass pass;
  WizardCommandLineInfo info(pass.options);
  testing::internal::CaptureStdout();
  parseCommandLine(commandLine, info);
  pass.output = testing::internal::GetCapturedStdout().c_str();
  POSITION position = info.products().GetHeadPosition();
  while (position)
    pass.products.push_back(info.products().GetNext(position));
  return pass;
}

TEST(WizardCommandLineInfo, StoresSwitchValuesInLowerCaseByNameInAnyCase)
{
  Pass pass = parse("enrolwiz.exe /TimeOut=60 -connect=NO /lang=French /DEBUG=Yes /splashdelay=0");
  EXPECT_EQ(pass.options.timeout(), "60");
  EXPECT_EQ(pass.options.connect(), "no");
  EXPECT_EQ(pass.options.lang(), "french");
  EXPECT_EQ(pass.options.debug(), "yes");
  EXPECT_EQ(pass.options.splashDelay(), "0");
  EXPECT_EQ(pass.output, "");

  // The first "=" splits; the value keeps the rest, "=" included; the last one wins.
  Pass again = parse("p /lang=NotSpecified /connect=a=B /connect=Direct");
  EXPECT_EQ(again.options.lang(), "notspecified");
  EXPECT_EQ(again.options.connect(), "direct");
  Pass equals = parse("p /timeout=a=B");
  EXPECT_EQ(equals.options.timeout(), "a=b");
}

TEST(WizardCommandLineInfo, WritesUnknownSwitchesAndSwitchesWithoutValueAsTyped)
{
  Pass pass = parse("p /bogus=Value -noequals /print /=x \"/Spaced=A b\" -");
  EXPECT_EQ(pass.output,
            "Unknown Parameter: bogus=Value\n"
            "Unknown Parameter: noequals\n"
            "Unknown Parameter: print\n"
            "Unknown Parameter: =x\n"
            "Unknown Parameter: Spaced=A b\n"
            "Unknown Parameter: \n");
  Options defaults;
  EXPECT_EQ(pass.options.lang(), defaults.lang());
  EXPECT_EQ(pass.options.timeout(), defaults.timeout());
  EXPECT_TRUE(pass.products.empty());
}

TEST(WizardCommandLineInfo, CollectsPlainArgumentsInOrder)
{
  Pass pass = parse("p A /splashdelay=1 \"B C\" D");
  ASSERT_EQ(pass.products.size(), 3u);
  EXPECT_EQ(pass.products[0], "A");
  EXPECT_EQ(pass.products[1], "B C");
  EXPECT_EQ(pass.products[2], "D");
  EXPECT_EQ(pass.options.splashDelay(), "1");
}

CString brandValue(const char* name)
{
  return RegistryStore::readText("VLM", name);
}

TEST(WizardCommandLineInfo, WritesTheProductListToTheBrandSectionAtTheLastArgument)
{
  resetTestRegistry();
  parse("enrolwiz.exe /splashdelay=1 A B C");
  EXPECT_EQ(brandValue("prodName"), "A");
  EXPECT_EQ(brandValue("prod1"), "B");
  EXPECT_EQ(brandValue("prod2"), "C");
  EXPECT_EQ(brandValue("numOfProds"), "2");
  ProductList list = readProductList("VLM");
  EXPECT_EQ(list.name, "A");
  ASSERT_EQ(list.products.size(), 2u);
  EXPECT_EQ(list.products[1], "C");

  // A shorter list overwrites what it names and leaves the rest behind.
  parse("enrolwiz.exe Solo /debug=yes");
  EXPECT_EQ(brandValue("prodName"), "Solo");
  EXPECT_EQ(brandValue("numOfProds"), "0");
  EXPECT_EQ(brandValue("prod1"), "B");
  EXPECT_TRUE(readProductList("VLM").products.empty());
}

TEST(WizardCommandLineInfo, WritesNothingWithoutPlainArguments)
{
  resetTestRegistry();
  parse("enrolwiz.exe");
  parse("enrolwiz.exe /splashdelay=0 -lang=French");
  EXPECT_FALSE(testKeyExists(registryCurrentUser, "Software\\VLM"));
}

TEST(ReportKind, FollowsTheTableOfMessageIds)
{
  for (UINT id = IDS_FIRST_NAME_REQUIRED; id <= IDS_COM_FAILED; ++id)
    EXPECT_EQ(reportKind(id), ReportKind::warning) << id;
  for (UINT id : {IDS_BOOKMARKS_FAILED, IDS_FORBIDDEN_CHARACTERS, IDS_NO_PRINTER_NO_NETWORK, IDS_ALPHABETIC_ONLY,
                  IDS_ADDRESS_NEEDS_LETTERS, IDS_PREFIX_REQUIRED, 606})
    EXPECT_EQ(reportKind(id), ReportKind::warning) << id;
  for (UINT id : {IDS_ASK_EMAIL, IDS_EMAIL_FORMAT, IDS_ZIP_FIVE_DIGITS, IDS_PHONE_TOO_SHORT, IDS_ZIP_TOO_FEW_CHARACTERS,
                  IDS_ZIP_TOO_FEW_DIGITS})
    EXPECT_EQ(reportKind(id), ReportKind::question) << id;
  EXPECT_EQ(reportKind(IDS_CONNECTION_FAILED), ReportKind::connectionFailure);
  EXPECT_EQ(reportKind(IDS_PHONE_HEADING), ReportKind::phoneSequence);   // no text loaded for it
  EXPECT_EQ(reportKind(1049), ReportKind::exitConfirmation);
  for (UINT id : {0u, 101u, 116u, 121u, 126u, 135u, 600u, 604u, 634u, 1048u, 1050u})
    EXPECT_EQ(reportKind(id), ReportKind::none) << id;
}

}  // namespace
