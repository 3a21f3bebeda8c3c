// The X11 program's command line: the registry values' defaults and ranges, both spellings of
// every option, and which window a run draws into.
#include "x11/options.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

ParseResult Parse(std::vector<const char*> args, Options* options, const char* variable = nullptr) {
  return ParseOptions(static_cast<int>(args.size()), args.data(), variable, options);
}

TEST(X11Options, DefaultsBothSpellingsAndTheRanges) {
  Options options;
  ASSERT_TRUE(Parse({}, &options).ok);
  EXPECT_EQ(options.scene.animationSpeed, 50);
  EXPECT_EQ(options.scene.cameraTour, 0);
  EXPECT_EQ(options.scene.randomStart, 1);
  EXPECT_EQ(options.scene.nightSide, 1);
  EXPECT_EQ(options.target, DrawTarget::OwnWindow);
  EXPECT_EQ(options.frameRate, kDisplayFrameRate);

  ASSERT_TRUE(Parse({"--speed", "100", "-tour", "orbit", "--no-random", "-no-night-side", "--fps", "-frame-rate", "0",
                     "-start", "1125.5"},
                    &options).ok);
  EXPECT_EQ(options.scene.animationSpeed, 100);
  EXPECT_EQ(options.scene.cameraTour, 2);
  EXPECT_EQ(options.scene.nightSide, 0);
  EXPECT_TRUE(options.showFrameRate);
  EXPECT_EQ(options.frameRate, 0);
  EXPECT_DOUBLE_EQ(options.startTime, 1125.5);
  ASSERT_TRUE(Parse({"-speed", "0", "--tour", "flyby", "-random", "-start", "3"}, &options).ok);
  EXPECT_EQ(options.scene.animationSpeed, 0);
  EXPECT_EQ(options.scene.cameraTour, 1);
  EXPECT_EQ(options.scene.randomStart, 0) << "a start time replaces the random start";
  ASSERT_TRUE(Parse({"-start", "1e6"}, &options).ok);

  for (const auto& bad : std::vector<std::vector<const char*>>{
           {"-speed", "-1"}, {"-speed", "101"}, {"-speed", "5x"}, {"-speed"}, {"-tour", "2"}, {"-frame-rate", "1001"},
           {"-start", "-1"}, {"-start", "nan"}, {"-start", "inf"}, {"-start", "1e308"}, {"-start", "1000000.5"},
           {"-no-speed"}, {"---root"}, {"root"}, {"-visual", "best"}}) {
    Options refused;
    const ParseResult result = Parse(bad, &refused);
    EXPECT_FALSE(result.ok || result.error.empty()) << bad[0];
  }
}

TEST(X11Options, TheWindowIsTheIdGivenThenAnOwnOneAskedForThenXScreenSaversThenTheRoot) {
  struct Case {
    std::vector<const char*> args;
    const char* variable;
    DrawTarget target;
    unsigned long id;
  };
  for (const Case& c : {Case{{"-root"}, nullptr, DrawTarget::Root, 0},
                        Case{{"--root"}, "0x1a00003", DrawTarget::WindowId, 0x1a00003},
                        Case{{}, "27262979", DrawTarget::WindowId, 27262979},
                        Case{{"-window"}, "0xdeadbeef", DrawTarget::OwnWindow, 0},
                        Case{{"-root", "--window"}, "0X2A", DrawTarget::OwnWindow, 0},
                        Case{{"-window", "-root"}, "0X2A", DrawTarget::WindowId, 42},
                        Case{{"-window", "-window-id", "7"}, "0X2A", DrawTarget::WindowId, 7},
                        Case{{"-window-id", "0xfF", "-root"}, "99", DrawTarget::WindowId, 255},
                        Case{{"-root", "--window-id", "4711"}, nullptr, DrawTarget::WindowId, 4711},
                        Case{{"-window"}, nullptr, DrawTarget::OwnWindow, 0}}) {
    Options options;
    ASSERT_TRUE(Parse(c.args, &options, c.variable).ok);
    EXPECT_EQ(options.target, c.target);
    EXPECT_EQ(options.windowId, c.id);
  }
  for (const char* bad : {"", "0x", "0", "-5", " 12", "12 ", "1a", "0x0x1", "0x100000000"}) {
    Options options;
    EXPECT_FALSE(Parse({"-window-id", bad}, &options).ok) << '"' << bad << '"';
    EXPECT_FALSE(Parse({"-root"}, &options, bad).ok) << "XSCREENSAVER_WINDOW=\"" << bad << '"';
  }
}

}  // namespace
