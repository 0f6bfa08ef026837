// The registration request text: escaping, the maps' pairs in their hash
// order, the system information of a known Windows version, the survey header.
#include <gtest/gtest.h>

#include <memory>

#include "data/registration_record.h"
#include "data/registry_store.h"
#include "data/request_encoding.h"
#include "data/system_info.h"
#include "data/tests/filled_record.h"
#include "framework/tests/test_registry.h"

namespace {

OsVersion version(unsigned long platform, unsigned long major, unsigned long minor, unsigned long build)
{
  OsVersion v;
  v.known = true;
  v.platformId = platform;
  v.majorVersion = major;
  v.minorVersion = minor;
  v.buildNumber = build;
  return v;
}

class Request : public testing::Test {
protected:
  void SetUp() override
  {
    resetTestRegistry();
    testing::internal::CaptureStdout();   // the language's diagnostic lines
    RegistrationRecord::instance();
    testing::internal::GetCapturedStdout();
  }
  void TearDown() override
  {
    RegistrationRecord::deleteInstance();
    SystemInfo::deleteInstance();
    SurveyDescriptor::deleteInstance();
  }
};

const char* const versionPair = "q14=Ommel%201%2e20e%2e990506%20VLM";

}  // namespace

TEST(UrlEncode, EscapesAllButLettersDigitsAndUnderscore)
{
  const char* const cases[][2] = {
      {"A-B C'D", "A%2dB%20C%27D"},
      {"50% off", "50%25%20off"},
      {"\xfc", "%fc"},
      {"\xe9t\xe9", "%e9t%e9"},
      {"\t", "%09"},
      {"name@example.com", "name%40example%2ecom"},
      {"a+b=c&d", "a%2bb%3dc%26d"},
      {"Az_09", "Az_09"},
      {"\x7f\x80\xff", "%7f%80%ff"},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UrlEncode(c[0]), c[1]) << c[0];
}

TEST(OperatingSystem, NamesAndVersions)
{
  EXPECT_EQ(operatingSystemName(version(platformWin32s, 3, 10, 0)), "Win32s");
  EXPECT_EQ(operatingSystemName(version(platformWin32Windows, 4, 0, 950)), "Windows 95");
  EXPECT_EQ(operatingSystemName(version(platformWin32Windows, 4, 10, 1998)), "Windows 98");
  EXPECT_EQ(operatingSystemName(version(platformWin32Windows, 4, 90, 3000)), "Windows 98");
  EXPECT_EQ(operatingSystemName(version(platformWin32Windows, 3, 95, 0)), "Windows 95");
  EXPECT_EQ(operatingSystemName(version(platformWin32Windows, 5, 0, 0)), "Windows 98");
  EXPECT_EQ(operatingSystemName(version(platformWin32NT, 6, 1, 7601)), "Windows NT");
  EXPECT_EQ(operatingSystemName(version(3, 6, 1, 7601)), "");
  EXPECT_EQ(operatingSystemVersion(version(3, 6, 1, 7601)), "V6.1 (Build 7601)");
  // Windows 95 keeps its version in the high half of the build number.
  EXPECT_EQ(operatingSystemVersion(version(platformWin32Windows, 4, 0, 0x040003B6)), "V4.0 (Build 950)");
  EXPECT_EQ(operatingSystemName(OsVersion()), "");
  EXPECT_EQ(operatingSystemVersion(OsVersion()), "");
}

TEST_F(Request, WorkedExample)
{
  SystemInfo& info = SystemInfo::instance();
  info.collect(windowsNt4());
  EXPECT_EQ(info.buildText(), "numOfProds=0&q2=Windows%20NT&q3=V4%2e0%20%28Build%201381%29&prodName=%20");
  EXPECT_EQ(info.text(), info.buildText());
  EXPECT_EQ(info.osName(), "Windows NT");
  EXPECT_EQ(info.osVersion(), "V4.0 (Build 1381)");
  EXPECT_EQ(info.numOfProds(), "0");
  EXPECT_EQ(info.prodName(), "");
  EXPECT_EQ(info.value("prod1"), "");

  CString request = buildRequestText();
  EXPECT_EQ(SurveyDescriptor::instance().text(),
            "method=InsertReg&numOfQuestions=14&campaign=056&service=RegistrationServices%2eRegister&surveyId=1");
  // An empty record: its query text begins with "&".
  EXPECT_EQ(RegistrationRecord::instance().queryText(), CString("&q7=%20&") + versionPair);
  EXPECT_EQ(request, CString("&q7=%20&") + versionPair + "&" + info.text() + "&" +
                         SurveyDescriptor::instance().text());
}

TEST_F(Request, ThisPlatformsVersion)
{
  OsVersion here = currentOsVersion();
  SystemInfo& info = SystemInfo::instance();
  info.collect();
  if (here.known) {
    EXPECT_NE(info.osName(), "");
    EXPECT_EQ(info.osVersion().Left(1), "V");
  } else {
    EXPECT_EQ(info.osName(), "");
    EXPECT_EQ(info.osVersion(), "");
  }
  EXPECT_NE(info.buildText().Find("&q2="), -1);
}

TEST_F(Request, FilledRecordInHashOrder)
{
  ASSERT_EQ(importRegistryFixture(testDataFile(WZ_TEST_DATA, "two_products.reg")), "");
  fillRecord(RegistrationRecord::instance());
  SystemInfo::instance().collect(windowsNt4());
  EXPECT_EQ(buildRequestText(),
            // The record: buckets 0 to 16, in each the key stored last first.
            "extension=12&prefix=Ms%2e&initial=B&country=CA&firstName=Ann&q1=en_CA&lastName=O%27Hara"
            "&q4=5&email=ann%40example%2ecom&q5=EMAILCON&phone=555%2d0100&q6=%20"
            "&q10=9&zip=K1A%200B1&stateProv=ON&q8=BANK&q11=0&city=Springfield"
            "&q9=25%2d49&q12=VBP&company=Example%20Ltd%2e&q13=%20&jobTitle=Head%20of%20R%26D"
            "&addr1=1%20Main%20St%2e&addr2=%20&suffix=%20"
            "&q7=%20&q14=Ommel%201%2e20e%2e990506%20VLM"
            // The system information with two products.
            "&numOfProds=2&q2=Windows%20NT&q3=V4%2e0%20%28Build%201381%29&prod1=A&prod2=B&prodName=P"
            // The survey header.
            "&method=InsertReg&numOfQuestions=14&campaign=056&service=RegistrationServices%2eRegister"
            "&surveyId=1");
}

TEST_F(Request, RebuiltFromTheMapAsItStands)
{
  RegistrationRecord& record = RegistrationRecord::instance();
  record.setEmail("a@b");
  record.setQuestion4("5");   // shares a bucket with "email" and was stored later
  EXPECT_EQ(record.buildQuery(), CString("q4=5&email=a%40b&q7=%20&") + versionPair);
  record.setEmail("");        // replacing a value keeps the key's place
  record.setCompany("C");
  EXPECT_EQ(record.buildQuery(), CString("q4=5&email=%20&company=C&q7=%20&") + versionPair);
  EXPECT_EQ(record.queryText(), record.buildQuery());
  // A client number made after the request goes out with the next one only.
  CString before = buildRequestText();
  record.makeClientNumberIfMissing();
  EXPECT_EQ(record.queryText().Find("q13="), -1);
  EXPECT_NE(buildRequestText(), before);
}
