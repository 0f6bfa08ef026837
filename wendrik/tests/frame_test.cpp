// The function frame through its two exports, with the recording test host in
// place of the interpreter.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/frame.h"
#include "frame/handlers.h"
#include "host/fake_interpreter.h"

extern "C" SaaReturn SAA_ENTRY FTPLOADFUNCS(const char *, SaaCount, RXSTRING *, const char *, RXSTRING *);
extern "C" SaaReturn SAA_ENTRY FTPFUNCTIONGATEWAY(const char *, SaaCount, RXSTRING *, const char *, RXSTRING *);

namespace {

typedef SaaReturn SAA_ENTRY Entry(const char *, SaaCount, RXSTRING *, const char *, RXSTRING *);

// One call as the interpreter makes it (hostCallFunction): writable name and
// argument buffers, a 256-byte result buffer.
struct Call {
  std::string name;
  std::vector<std::string> args;
  std::vector<bool> present;
  std::string result;
  unsigned long long rc = 0;

  Call &arg(const std::string &text)
  {
    args.push_back(text);
    present.push_back(true);
    return *this;
  }
  Call &omitted()
  {
    args.emplace_back();
    present.push_back(false);
    return *this;
  }
  unsigned long long run(Entry *entry)
  {
    HostCall call;
    call.name = name;
    call.values = args;
    call.present = present;
    hostCallFunction(reinterpret_cast<void *>(entry), call);
    for (const std::string &fault : call.faults)
      ADD_FAILURE() << name << ": " << fault;
    result = call.result;
    name = call.name;
    rc = call.rc;
    return rc;
  }
};

Call gateway(const std::string &name)
{
  Call call;
  call.name = name;
  return call;
}

class FrameTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    fakeInterpreter().reset();
    FtpErrnoCode = FTPERR_NONE;
    FtpTraceOn = 0;
  }
  FakeInterpreter &rexx = fakeInterpreter();
};

TEST_F(FrameTest, SetterJoinsStemAndSuffixAndTrimsTheName)
{
  FtpSetVariable("LIST.", "3", "first");
  EXPECT_EQ(rexx.assignments.back().first, "LIST.3");
  FtpSetVariable("LIST", "3", "glued");
  EXPECT_EQ(rexx.assignments.back().first, "LIST3");
  FtpSetVariable("  padded  ", nullptr, "v");
  EXPECT_EQ(rexx.assignments.back().first, "padded");
  EXPECT_EQ(rexx.value("PADDED"), "v");
  size_t before = rexx.assignments.size();
  FtpSetVariable(nullptr, "1", "x");
  EXPECT_EQ(rexx.assignments.size(), before);
  FtpSetVariable("empty", nullptr, nullptr);
  EXPECT_EQ(rexx.value("EMPTY"), "");
}

TEST_F(FrameTest, ErrnoNamesEveryCodeAndNumbersTheRest)
{
  const std::pair<int, const char *> table[] = {
    {0, "0"}, {1, "FTPSERVICE"}, {2, "FTPHOST"}, {3, "FTPSOCKET"}, {4, "FTPCONNECT"},
    {5, "FTPLOGIN"}, {6, "FTPABORT"}, {7, "FTPLOCALFILE"}, {8, "FTPDATACONN"},
    {9, "FTPCOMMAND"}, {10, "FTPPROXYTHIRD"}, {11, "11"}, {12, "12"}, {13, "FTPFAILURE"}, {14, "FTPTLS"},
    {-1, "-1"}, {99, "99"}};
  for (const auto &row : table) {
    FtpErrnoCode = row.first;
    FtpSetErrno();
    EXPECT_EQ(rexx.value("FTPERRNO"), row.second) << "code " << row.first;
  }
}

TEST_F(FrameTest, LoaderRegistersEveryNameInTableOrderAndAcceptsRepeats)
{
  Call first = gateway("FtpLoadFuncs").arg("quiet");
  first.run(FTPLOADFUNCS);
  EXPECT_EQ(first.rc, 0u);
  EXPECT_EQ(first.result, "0");
  ASSERT_EQ(rexx.registered.size(), 25u);
  EXPECT_EQ(rexx.registered.front(), "FTPDROPFUNCS");
  EXPECT_EQ(rexx.registered[11], "FTPDIR");
  EXPECT_EQ(rexx.registered[23], "FTPPING");
  EXPECT_EQ(rexx.registered.back(), "FTPSETSECURE");   // beyond the original 24
  EXPECT_EQ(rexx.functions["FTPGET"], "FtpFunctionGateWay");
  EXPECT_EQ(rexx.value("FTPERRNO"), "0");

  Call again = gateway("FtpLoadFuncs").arg("quiet");
  again.run(FTPLOADFUNCS);   // every name answers "already registered"
  EXPECT_EQ(again.result, "0");
  EXPECT_EQ(rexx.registered.size(), 50u);
}

TEST_F(FrameTest, LoaderStopsAtARefusedRegistration)
{
  rexx.registerFailures["FTPLS"] = 30;
  Call load = gateway("FtpLoadFuncs").arg("quiet");
  load.run(FTPLOADFUNCS);
  EXPECT_EQ(load.rc, 0u);
  EXPECT_EQ(load.result, "-1");
  EXPECT_EQ(rexx.value("FTPERRNO"), "FTPCOMMAND");
  EXPECT_EQ(rexx.registered.back(), "FTPLS");
  EXPECT_TRUE(rexx.functions.count("FTPRENAME"));   // registered before the refusal
  EXPECT_FALSE(rexx.functions.count("FTPDIR"));
}

TEST_F(FrameTest, LoaderDoesNotShowAnEarlierFailure)
{
  FtpErrnoCode = FTPERR_LOCALFILE;
  Call load = gateway("FtpLoadFuncs").arg("quiet");
  load.run(FTPLOADFUNCS);
  EXPECT_EQ(rexx.value("FTPERRNO"), "0");
}

TEST_F(FrameTest, GatewayUpperCasesTheNameAndResetsTheStatus)
{
  FtpErrnoCode = FTPERR_LOCALFILE;
  rexx.variables["FTPERRNO"] = "FTPLOCALFILE";
  Call version = gateway("ftpversion").arg("  ver  ");
  version.run(FTPFUNCTIONGATEWAY);
  EXPECT_EQ(version.name, "FTPVERSION");
  EXPECT_EQ(version.rc, 0u);
  EXPECT_EQ(version.result, "");
  EXPECT_EQ(FtpErrnoCode, 0);
  EXPECT_EQ(rexx.value("FTPERRNO"), "0");
  EXPECT_EQ(rexx.value("VER"), "2.1");
  EXPECT_EQ(rexx.assignments.back().first, "ver");
}

TEST_F(FrameTest, GatewayRejectsUnknownNames)
{
  Call unknown = gateway("FtpFrobnicate");
  EXPECT_EQ(unknown.run(FTPFUNCTIONGATEWAY), 40u);
  EXPECT_EQ(unknown.result, "");
  // A registered name is matched whole, not by prefix.
  EXPECT_EQ(gateway("FtpVersionX").run(FTPFUNCTIONGATEWAY), 40u);
  EXPECT_EQ(gateway("FtpVers").run(FTPFUNCTIONGATEWAY), 40u);
}

TEST_F(FrameTest, GatewayCopiesEveryArgumentHoweverMany)
{
  // More arguments than the gateway copies on its stack: the handler sees
  // the count and every one of them.
  Call version = gateway("FtpVersion").arg("many");
  Call user = gateway("FtpSetUser");
  for (int i = 0; i < 40; i++) {
    version.arg("x");
    user.arg("x");
  }
  EXPECT_EQ(version.run(FTPFUNCTIONGATEWAY), 0u);
  EXPECT_EQ(rexx.value("MANY"), "2.1");
  EXPECT_EQ(user.run(FTPFUNCTIONGATEWAY), 40u);   // FtpSetUser takes at most 4
  EXPECT_EQ(user.result, "0");
}

TEST_F(FrameTest, EveryFunctionRefusesArgumentCountsItDoesNotTake)
{
  // The counts just outside what each function takes, as functions.md gives
  // them: the incorrect call, with no server asked (no login is set).
  const struct {
    const char *name;
    std::vector<int> refused;
  } table[] = {
    {"FtpSetUser", {1, 2, 5}}, {"FtpSetSecure", {0, 3}}, {"FtpAppend", {0, 1, 4}}, {"FtpDelete", {0, 2}},
    {"FtpGet", {0, 1, 4}}, {"FtpPut", {0, 1, 4}}, {"FtpPutUnique", {0, 1, 4}}, {"FtpRename", {1, 3}},
    {"FtpLs", {1, 3}}, {"FtpDir", {1, 3}}, {"FtpChDir", {0, 2}}, {"FtpMkDir", {0, 2}}, {"FtpRmDir", {0, 2}},
    {"FtpQuote", {0, 3}}, {"FtpSite", {0, 2}}, {"FtpSys", {0, 2}}, {"FtpProxy", {9, 12}}, {"FtpPing", {1, 3}},
  };
  for (const auto &row : table)
    for (int count : row.refused) {
      Call call = gateway(row.name);
      for (int i = 0; i < count; i++)
        call.arg("x");
      EXPECT_EQ(call.run(FTPFUNCTIONGATEWAY), 40u) << row.name << " with " << count;
      EXPECT_EQ(call.result, "0") << row.name << " with " << count;
      EXPECT_EQ(rexx.value("FTPERRNO"), "0") << row.name << " with " << count;
    }
}

TEST_F(FrameTest, VersionWithoutANameSetsNothing)
{
  for (Call call : {gateway("FtpVersion"), gateway("FtpVersion").omitted(), gateway("FtpVersion").arg(""),
                    gateway("FtpVersion").arg("   ")}) {
    rexx.assignments.clear();
    EXPECT_EQ(call.run(FTPFUNCTIONGATEWAY), 0u);
    EXPECT_EQ(call.result, "");
    ASSERT_EQ(rexx.assignments.size(), 1u);   // FTPERRNO only
    EXPECT_EQ(rexx.assignments[0].first, "FTPERRNO");
  }
}

TEST_F(FrameTest, TraceFlipsWithEveryCallWhateverItsArguments)
{
  gateway("FtpTrace").run(FTPFUNCTIONGATEWAY);
  EXPECT_EQ(FtpTraceOn, 1);
  gateway("FTPTRACE").arg("off").run(FTPFUNCTIONGATEWAY);
  EXPECT_EQ(FtpTraceOn, 0);
}

TEST_F(FrameTest, DropDeregistersTheLoaderThenEveryName)
{
  gateway("FtpLoadFuncs").arg("quiet").run(FTPLOADFUNCS);
  Call drop = gateway("FtpDropFuncs");
  EXPECT_EQ(drop.run(FTPFUNCTIONGATEWAY), 0u);
  EXPECT_EQ(drop.result, "");
  ASSERT_EQ(rexx.deregistered.size(), 26u);
  EXPECT_EQ(rexx.deregistered.front(), "FtpLoadFuncs");
  EXPECT_EQ(rexx.deregistered[1], "FTPDROPFUNCS");
  EXPECT_EQ(rexx.deregistered.back(), "FTPSETSECURE");
  EXPECT_TRUE(rexx.functions.empty());
}

TEST_F(FrameTest, TrimmingWorksInTheCallersBuffer)
{
  char text[] = "  a b  ";
  FtpArg arg{7, text};
  FtpTrimArg(&arg);
  EXPECT_EQ(std::string(arg.strptr, arg.strlength), "a b");
  EXPECT_STREQ(arg.strptr, "a b");
  char blanks[] = "   ";
  FtpArg blank{3, blanks};
  FtpTrimArg(&blank);
  EXPECT_EQ(blank.strlength, 0u);
  EXPECT_FALSE(FtpArgPresent(&blank));
  FtpArg omitted{0, nullptr};
  FtpTrimArg(&omitted);
  EXPECT_FALSE(FtpArgPresent(&omitted));
  EXPECT_TRUE(FtpTextBlank("  "));
  EXPECT_TRUE(FtpTextBlank(nullptr));
  EXPECT_FALSE(FtpTextBlank(" x "));
}

TEST_F(FrameTest, ResultsNeverExceedTheInterpretersBuffer)
{
  char small[4];
  HostSizeString result{sizeof small, small};
  FtpBeginResult(reinterpret_cast<RXSTRING *>(&result));
  EXPECT_EQ(result.strlength, 0u);
  FtpSetResult(reinterpret_cast<RXSTRING *>(&result), "1234567");
  EXPECT_EQ(result.strlength, 4u);
  EXPECT_EQ(std::string(small, 4), "1234");
}

TEST_F(FrameTest, LoginTextsAreCutToTheirBuffers)
{
  FtpLogin login{};
  FtpCopyLoginText(login.user, std::string(500, 'u').c_str());
  EXPECT_EQ(std::strlen(login.user), 199u);
}

}  // namespace
