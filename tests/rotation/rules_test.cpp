// The launcher's pure rules: which argument strings mean a full-screen run, the classic
// random generator and the pick it makes, and the command line a member is started with.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "rotation/choice.h"
#include "rotation/member_command_line.h"

namespace {

using rotation::ClassicRandom;
using rotation::ComposeMemberCommandLine;
using rotation::FormatPageArgument;
using rotation::IsFullScreenRun;
using rotation::kCommandLineBufferSize;
using rotation::PickCandidate;

TEST(FullScreenRun, OnlySlashSAndDashSLetterExact) {
  EXPECT_TRUE(IsFullScreenRun("/s"));
  EXPECT_TRUE(IsFullScreenRun("-s"));
  for (const char* other : {"/S", "-S", "/s ", " /s", "/s 1", "/sp", "/p 1234", "/c", "/a", "", "s"})
    EXPECT_FALSE(IsFullScreenRun(other)) << "argument string \"" << other << "\" must not be a full-screen run";
}

TEST(ClassicRandom, MatchesTheRuntimeSequenceAfterSeedOne) {
  // The first values the C runtime's rand() gives after srand(1).
  ClassicRandom random(1);
  for (int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464})
    EXPECT_EQ(random.Next(), expected);
}

TEST(ClassicRandom, ValuesStayWithinFifteenBitsForEverySeedRange) {
  // Bit 31 of the state must be masked off; without the mask half the values exceed 32767.
  int highest = 0;
  for (uint32_t seed : {0u, 0x7FFF0000u, 0x80000000u, 0xFFFFF000u}) {
    for (uint32_t step = 0; step < 4096; ++step) {
      const int value = ClassicRandom(seed + step).Next();
      ASSERT_GE(value, 0) << "seed " << seed + step;
      ASSERT_LE(value, ClassicRandom::kMax) << "seed " << seed + step;
      highest = std::max(highest, value);
    }
  }
  EXPECT_GT(highest, 16383) << "bit 30 of the state never reached the value";
}

TEST(PickCandidate, NoneWithoutCandidatesAndTheOnlyOneOtherwise) {
  EXPECT_FALSE(PickCandidate(1234, 0).has_value());
  for (uint32_t seed : {0u, 1u, 0xFFFFFFFFu}) EXPECT_EQ(PickCandidate(seed, 1), std::optional<std::size_t>(0));
}

TEST(PickCandidate, TakesTheFirstValueModuloTheCount) {
  EXPECT_EQ(PickCandidate(1, 100), std::optional<std::size_t>(41));  // first value after seed 1 is 41
  EXPECT_EQ(PickCandidate(1, 3), std::optional<std::size_t>(2));
}

TEST(PickCandidate, SuccessiveTickCountsReachEveryMember) {
  // The launcher seeds with the tick count; runs a few milliseconds apart must not keep
  // landing on the same member.
  for (std::size_t count : {2u, 3u, 7u}) {
    std::set<std::size_t> chosen;
    for (uint32_t tick = 500000; tick < 500000 + 20; ++tick) chosen.insert(*PickCandidate(tick, count));
    EXPECT_EQ(chosen.size(), count) << "20 consecutive ticks reached only " << chosen.size() << " of " << count
                                    << " members";
  }
}

TEST(MemberCommandLine, QuotedPathBlankAndArgumentsUnchanged) {
  EXPECT_EQ(ComposeMemberCommandLine("C:\\Program Files\\Tellaro\\Tellaro.scr", "/p 1234"),
            std::optional<std::string>("\"C:\\Program Files\\Tellaro\\Tellaro.scr\" /p 1234"));
  EXPECT_EQ(ComposeMemberCommandLine("C:\\a.scr", ""), std::optional<std::string>("\"C:\\a.scr\" "))
      << "an empty argument string still follows the blank";
  EXPECT_EQ(ComposeMemberCommandLine("C:\\a.scr", "  /s  \"x\""), std::optional<std::string>("\"C:\\a.scr\"   /s  \"x\""));
}

TEST(MemberCommandLine, RefusesWhatWouldOverflowTheBufferAtTheExactBoundary) {
  const std::string path = "C:\\Saver\\Tellaro.scr";
  // Quotes, blank and the terminating NUL take 4 bytes beside the path and the arguments.
  const std::size_t fitting = kCommandLineBufferSize - path.size() - 4;
  std::optional<std::string> longest = ComposeMemberCommandLine(path, std::string(fitting, 'x'));
  ASSERT_TRUE(longest.has_value()) << "arguments of " << fitting << " bytes fit exactly";
  EXPECT_EQ(longest->size() + 1, kCommandLineBufferSize);
  EXPECT_EQ(longest->substr(longest->size() - fitting), std::string(fitting, 'x')) << "nothing may be cut";

  EXPECT_FALSE(ComposeMemberCommandLine(path, std::string(fitting + 1, 'x')).has_value())
      << "one byte more must be refused, not cut";
  EXPECT_FALSE(ComposeMemberCommandLine(path, std::string(100000, 'x')).has_value());
  EXPECT_FALSE(ComposeMemberCommandLine(std::string(kCommandLineBufferSize, 'p'), "/s").has_value())
      << "an overlong path is refused as well";
}

TEST(PageArgument, UpperCaseHexadecimalWithoutLeadingZeros) {
  EXPECT_EQ(FormatPageArgument(0x1a2b3c), "-1:1A2B3C");
  EXPECT_EQ(FormatPageArgument(0x00000abc), "-1:ABC");
  EXPECT_EQ(FormatPageArgument(0), "-1:0");
  EXPECT_EQ(FormatPageArgument(0xFFFFFFFFu), "-1:FFFFFFFF");
}

TEST(PageArgument, OnlyTheThirtyTwoSignificantBitsOfAHandle) {
  const std::uintptr_t wide = static_cast<std::uintptr_t>(0xFFFFFFFF'00012345ull & UINTPTR_MAX);
  EXPECT_EQ(FormatPageArgument(wide), "-1:12345");
}

}  // namespace
