#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
  const char* text;
  RunMode mode;
};

std::string Name(RunMode mode) {
  switch (mode) {
    case RunMode::Settings: return "Settings";
    case RunMode::FullScreen: return "FullScreen";
    case RunMode::Preview: return "Preview";
    case RunMode::EmbeddedPage: return "EmbeddedPage";
    case RunMode::PasswordChange: return "PasswordChange";
    case RunMode::None: return "None";
  }
  return "?";
}

class RunModeTest : public testing::TestWithParam<Case> {};

TEST_P(RunModeTest, SelectsTheModeFromTheSecondCharacter) {
  const Case& c = GetParam();
  EXPECT_EQ(Name(ParseCommandLine(c.text, {"tellaro.scr"}).mode), Name(c.mode)) << "command line \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, RunModeTest,
    testing::Values(Case{"", RunMode::Settings}, Case{"   \t ", RunMode::Settings}, Case{"/c", RunMode::Settings},
                    Case{"-C", RunMode::Settings}, Case{"/c:4711", RunMode::Settings},
                    Case{"/s", RunMode::FullScreen}, Case{"-S", RunMode::FullScreen},
                    Case{"/sp", RunMode::FullScreen}, Case{"/screensaver", RunMode::FullScreen},
                    Case{"   /s   ", RunMode::FullScreen}, Case{"/p 1234", RunMode::Preview},
                    Case{"/P", RunMode::Preview}, Case{"/a", RunMode::PasswordChange},
                    Case{"-A 77", RunMode::PasswordChange}, Case{"-1:00A3F2", RunMode::EmbeddedPage},
                    Case{"s", RunMode::None}, Case{"x", RunMode::None}, Case{"/x", RunMode::None},
                    Case{"/", RunMode::None}, Case{"-", RunMode::None}, Case{"\\s", RunMode::None}));

TEST(CommandLineTest, PreviewHandleIsTheThirdArgumentInDecimal) {
  EXPECT_EQ(ParseCommandLine("/p 1234", {"t.scr", "/p", "1234"}).hostWindow, 1234u);
  EXPECT_EQ(ParseCommandLine("/p", {"t.scr", "/p"}).hostWindow, 0u) << "fewer than three arguments";
  EXPECT_EQ(ParseCommandLine("/p 0", {"t.scr", "/p", "0"}).hostWindow, 0u);
  EXPECT_EQ(ParseCommandLine("/p -5", {"t.scr", "/p", "-5"}).hostWindow, 0u) << "a sign names no window";
  EXPECT_EQ(ParseCommandLine("/p 18446744073709551616", {"t.scr", "/p", "18446744073709551616"}).hostWindow, 0u)
      << "beyond 64 bits";
  EXPECT_EQ(ParseCommandLine("/p:99", {"t.scr", "/p:99"}).hostWindow, 99u) << "the handle joined to the switch";
}

TEST(CommandLineTest, EmbeddedHandleIsHexadecimalAfterTheColonInEitherCase) {
  const CommandLine upper = ParseCommandLine("-1:00A3F2", {"t.scr", "-1:00A3F2"});
  const CommandLine lower = ParseCommandLine("-1:a3f2", {"t.scr", "-1:a3f2"});
  EXPECT_EQ(upper.hostWindow, 0xa3f2u);
  EXPECT_EQ(lower.hostWindow, upper.hostWindow);
  EXPECT_EQ(ParseCommandLine("-1:zz", {}).hostWindow, 0u) << "unreadable handle";
  EXPECT_EQ(ParseCommandLine("/1:a3f2", {}).hostWindow, 0u) << "only the \"-1:\" form carries a handle";
  EXPECT_EQ(ParseCommandLine("-1", {}).hostWindow, 0u);
}

TEST(CommandLineTest, LoweringLeavesNonAsciiBytesAlone) {
  EXPECT_EQ(LowerAndTrim("  /S \xC3\x84X "), "/s \xC3\x84x");
  EXPECT_EQ(LowerAndTrim(" \t "), "");
}

}  // namespace
