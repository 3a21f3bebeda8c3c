// The launcher's pure rules: which argument strings mean a full-screen run, the classic
// random generator and the pick it makes, and the command line a member is started with.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "rotation/choice.h"
#include "rotation/member_command_line.h"

namespace {

using namespace rotation;

TEST(FullScreenRun, OnlySlashSAndDashSLetterExact) {
  EXPECT_TRUE(IsFullScreenRun("/s"));
  EXPECT_TRUE(IsFullScreenRun("-s"));
  for (const char* other : {"/S", "-S", "/s ", " /s", "/s 1", "/sp", "/p 1234", "/c", "", "s"})
    EXPECT_FALSE(IsFullScreenRun(other)) << "argument string \"" << other << "\" must not be a full-screen run";
}

TEST(ClassicRandom, MatchesTheRuntimeSequenceAfterSeedOne) {
  // The first values the C runtime's rand() gives after srand(1); bit 31 of the state must
  // be masked off, or some of them would exceed 32767.
  ::ClassicRandom random(1);
  for (int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464})
    EXPECT_EQ(random.Next(), expected);
}

TEST(PickCandidate, FirstValueModuloTheCount) {
  EXPECT_FALSE(PickCandidate(1234, 0).has_value());
  EXPECT_EQ(PickCandidate(0xFFFFFFFFu, 1), std::optional<std::size_t>(0));
  EXPECT_EQ(PickCandidate(1, 100), std::optional<std::size_t>(41));
  EXPECT_EQ(PickCandidate(1, 3), std::optional<std::size_t>(2));
  // The launcher seeds with the tick count: runs a few milliseconds apart must not keep
  // landing on the same member.
  for (std::size_t count : {2u, 3u, 7u}) {
    std::set<std::size_t> chosen;
    for (uint32_t tick = 500000; tick < 500000 + 20; ++tick) chosen.insert(*PickCandidate(tick, count));
    EXPECT_EQ(chosen.size(), count) << "20 consecutive ticks reached " << chosen.size() << " of " << count;
  }
}

TEST(MemberCommandLine, QuotedPathBlankAndArgumentsUnchanged) {
  EXPECT_EQ(ComposeMemberCommandLine("C:\\Program Files\\T.scr", "/p 1234"), "\"C:\\Program Files\\T.scr\" /p 1234");
  EXPECT_EQ(ComposeMemberCommandLine("C:\\a.scr", ""), "\"C:\\a.scr\" ") << "the blank even without arguments";
  EXPECT_EQ(ComposeMemberCommandLine("C:\\a.scr", " /s  \"x\""), "\"C:\\a.scr\"  /s  \"x\"") << "unchanged";
}

TEST(MemberCommandLine, RefusesWhatWouldOverflowTheBufferAtTheExactBoundary) {
  const std::string path = "C:\\Saver\\Tellaro.scr";
  // Quotes, blank and the terminating NUL take 4 bytes beside the path and the arguments.
  const std::string fitting(kCommandLineBufferSize - path.size() - 4, 'x');
  EXPECT_EQ(ComposeMemberCommandLine(path, fitting), "\"" + path + "\" " + fitting) << "must fit exactly, uncut";
  EXPECT_FALSE(ComposeMemberCommandLine(path, fitting + "x").has_value()) << "one byte more is refused, not cut";
  EXPECT_FALSE(ComposeMemberCommandLine(std::string(kCommandLineBufferSize, 'p'), "/s").has_value())
      << "an overlong path is refused as well";
}

TEST(PageArgument, UpperCaseHexOfTheLow32BitsWithoutLeadingZeros) {
  EXPECT_EQ(FormatPageArgument(0x1a2b3c), "-1:1A2B3C");
  EXPECT_EQ(FormatPageArgument(0), "-1:0");
  EXPECT_EQ(FormatPageArgument(0xFFFFFFFFu), "-1:FFFFFFFF");
  EXPECT_EQ(FormatPageArgument(static_cast<std::uintptr_t>(0xFFFFFFFF'00012345ull & UINTPTR_MAX)), "-1:12345");
}

}  // namespace
