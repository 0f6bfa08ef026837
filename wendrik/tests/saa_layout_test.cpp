// The layouts of the interpreter's strings and variable-pool blocks: the probe
// against fake pools of both families, and lengths read and written at their
// layout's width. On a 64-bit system these are the layouts of x64 Windows; on
// a 32-bit one the two layouts are one and the cases that tell them apart
// are skipped.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "frame/layout.h"
#include "host/interpreter_types.h"

namespace {

const bool layoutsDiffer = sizeof(uint32_t) < sizeof(char *);

// A pool of one family: it reads the block at its own offsets, sets the
// variable when the code asks for a set, and (when it answers) writes its
// return flag. A pool that does not answer stands for an interpreter that
// sets the variable and leaves the flag alone.
template <typename Length>
struct FakePool {
  static inline std::vector<std::pair<std::string, std::string>> sets;
  static inline int badRequests = 0;
  static inline bool answers = true;

  static void reset(bool answering)
  {
    sets.clear();
    badRequests = 0;
    answers = answering;
  }
  static ULONG call(void *raw)
  {
    auto *block = static_cast<HostShvBlockAs<Length> *>(raw);
    unsigned char flag = 0;
    if (block->shvcode == RXSHV_SYSET)
      sets.emplace_back(std::string(block->shvname.strptr, block->shvname.strlength),
                        std::string(block->shvvalue.strptr, block->shvvalue.strlength));
    else {
      badRequests++;
      flag = 0x08;
    }
    if (answers)
      block->shvret = flag;
    return flag;
  }
};
typedef FakePool<uint32_t> UlongPool;
typedef FakePool<uintptr_t> SizePool;

ULONG missingPool(void *)
{
  return SAA_SERVICE_MISSING;
}

SaaLayout setErrno(SaaLayout layout, SaaPoolFunction *pool)
{
  return saaSetVariableAs(layout, pool, "FTPERRNO", 8, "FTPLOGIN", 8);
}

const std::vector<std::pair<std::string, std::string>> errnoSet = {{"FTPERRNO", "FTPLOGIN"}};

TEST(SaaLayoutTest, ProbeDecidesTheLayoutOfThePoolThatAnswers)
{
  if (!layoutsDiffer)
    GTEST_SKIP() << "one layout on a 32-bit system";
  UlongPool::reset(true);
  EXPECT_EQ(setErrno(SAA_LAYOUT_UNDECIDED, UlongPool::call), SAA_LAYOUT_ULONG);
  EXPECT_EQ(UlongPool::sets, errnoSet);
  SizePool::reset(true);
  EXPECT_EQ(setErrno(SAA_LAYOUT_UNDECIDED, SizePool::call), SAA_LAYOUT_SIZE_T);
  EXPECT_EQ(SizePool::sets, errnoSet);
}

TEST(SaaLayoutTest, ProbeThatNobodyAnswersStaysUndecidedAndStillSets)
{
  UlongPool::reset(false);
  EXPECT_EQ(setErrno(SAA_LAYOUT_UNDECIDED, UlongPool::call), SAA_LAYOUT_UNDECIDED);
  EXPECT_EQ(UlongPool::sets, errnoSet);
  SizePool::reset(false);
  EXPECT_EQ(setErrno(SAA_LAYOUT_UNDECIDED, SizePool::call), SAA_LAYOUT_UNDECIDED);
  EXPECT_EQ(SizePool::sets, errnoSet);
  EXPECT_EQ(setErrno(SAA_LAYOUT_UNDECIDED, missingPool), SAA_LAYOUT_UNDECIDED);
  // The next request probes again, and an answer decides.
  SizePool::reset(true);
  EXPECT_EQ(setErrno(SAA_LAYOUT_UNDECIDED, SizePool::call), SAA_LAYOUT_SIZE_T);
}

TEST(SaaLayoutTest, DecidedLayoutSendsItsOwnBlockOnly)
{
  UlongPool::reset(true);
  EXPECT_EQ(setErrno(SAA_LAYOUT_ULONG, UlongPool::call), SAA_LAYOUT_ULONG);
  EXPECT_EQ(UlongPool::sets, errnoSet);
  SizePool::reset(true);
  EXPECT_EQ(setErrno(SAA_LAYOUT_SIZE_T, SizePool::call), SAA_LAYOUT_SIZE_T);
  EXPECT_EQ(SizePool::sets, errnoSet);
  if (!layoutsDiffer)
    return;
  // A block read at the other layout's offsets is no set (and the decided
  // layout is kept: the probe is not sent again). The 32-bit block lies in
  // room for the size_t one, so its pool reads no request there either.
  UlongPool::reset(true);
  EXPECT_EQ(setErrno(SAA_LAYOUT_SIZE_T, UlongPool::call), SAA_LAYOUT_SIZE_T);
  EXPECT_TRUE(UlongPool::sets.empty());
  EXPECT_EQ(UlongPool::badRequests, 1);
  SizePool::reset(true);
  EXPECT_EQ(setErrno(SAA_LAYOUT_ULONG, SizePool::call), SAA_LAYOUT_ULONG);
  EXPECT_TRUE(SizePool::sets.empty());
  EXPECT_EQ(SizePool::badRequests, 1);
}

// A string of the 32-bit layout with garbage in its padding.
HostStringAs<uint32_t> ulongString(char *text, uint32_t length)
{
  HostStringAs<uint32_t> string;
  std::memset(&string, 0xA5, sizeof string);
  string.strlength = length;
  string.strptr = text;
  return string;
}

TEST(SaaLayoutTest, ArgumentLengthsAreReadAtTheLayoutsWidth)
{
  char first[] = "host", second[] = "a longer text";
  HostStringAs<uint32_t> argv[] = {ulongString(first, 4), ulongString(nullptr, 0), ulongString(second, 13)};
  for (SaaLayout layout : {SAA_LAYOUT_ULONG, SAA_LAYOUT_UNDECIDED}) {
    FtpArg args[3];
    saaReadArgsAs(layout, 3, reinterpret_cast<const RXSTRING *>(argv), args);
    EXPECT_EQ(args[0].strptr, first);
    EXPECT_EQ(args[0].strlength, 4u);
    EXPECT_EQ(args[1].strptr, nullptr);
    EXPECT_EQ(args[1].strlength, 0u);
    EXPECT_EQ(args[2].strptr, second);
    EXPECT_EQ(args[2].strlength, 13u);
  }
  FtpArg none[2] = {{7, first}, {7, first}};
  saaReadArgsAs(SAA_LAYOUT_ULONG, 2, nullptr, none);
  EXPECT_EQ(none[1].strptr, nullptr);
  EXPECT_EQ(none[1].strlength, 0u);

  // The size_t layout reads all of its length.
  HostStringAs<uintptr_t> wide{static_cast<uintptr_t>(layoutsDiffer ? 0x100000005ull : 5u), first};
  FtpArg arg;
  saaReadArgsAs(SAA_LAYOUT_SIZE_T, 1, reinterpret_cast<const RXSTRING *>(&wide), &arg);
  EXPECT_EQ(arg.strlength, static_cast<size_t>(wide.strlength));
}

TEST(SaaLayoutTest, ResultLengthIsWrittenAtTheLayoutsWidthOnly)
{
  char buffer[16];
  for (SaaLayout layout : {SAA_LAYOUT_ULONG, SAA_LAYOUT_UNDECIDED}) {
    HostStringAs<uint32_t> result = ulongString(buffer, sizeof buffer);
    RXSTRING *string = reinterpret_cast<RXSTRING *>(&result);
    EXPECT_EQ(saaStringLengthAs(layout, string), sizeof buffer);
    saaSetStringLengthAs(layout, string, 3);
    EXPECT_EQ(result.strlength, 3u);
    EXPECT_EQ(saaStringText(string), buffer);
    if (layoutsDiffer) {
      HostStringAs<uint32_t> untouched = ulongString(buffer, 3);
      EXPECT_EQ(std::memcmp(&result, &untouched, sizeof result), 0) << "the padding was written";
    }
  }
  // The size_t layout writes all of its length: garbage in its upper half goes.
  HostStringAs<uintptr_t> wide;
  std::memset(&wide, 0xA5, sizeof wide);
  wide.strptr = buffer;
  saaSetStringLengthAs(SAA_LAYOUT_SIZE_T, reinterpret_cast<RXSTRING *>(&wide), 3);
  EXPECT_EQ(wide.strlength, 3u);
}

}  // namespace
