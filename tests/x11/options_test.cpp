// The X11 program's command line: the settings' defaults and ranges, both spellings of every
// option, and which window a run draws into.
#include "x11/options.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

ParseResult Parse(std::vector<const char*> args, Options* options, const char* xscreensaverWindow = nullptr) {
  return ParseOptions(static_cast<int>(args.size()), args.data(), xscreensaverWindow, options);
}

TEST(X11Options, WithoutOptionsTheRegistryDefaultsHoldInAWindowOfItsOwn) {
  Options options;
  ASSERT_TRUE(Parse({}, &options).ok);
  EXPECT_EQ(options.settings.AnimationSpeed, 50);
  EXPECT_EQ(options.settings.CamMode, 0);
  EXPECT_EQ(options.settings.RandomCameraStart, 1);
  EXPECT_EQ(options.settings.NightSide, 1);
  EXPECT_EQ(options.target, DrawTarget::OwnWindow);
  EXPECT_EQ(options.frameRate, kDisplayFrameRate);
  EXPECT_FALSE(options.printFps);
  EXPECT_FALSE(options.help);
}

TEST(X11Options, EveryOptionTakesOneDashOrTwo) {
  Options options;
  const ParseResult result = Parse({"--speed", "100", "-tour", "orbit", "--no-random", "-no-night-side", "--fps",
                                    "-frame-rate", "0", "--display", ":7", "-help"},
                                   &options);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(options.settings.AnimationSpeed, 100);
  EXPECT_EQ(options.settings.CamMode, 2);
  EXPECT_EQ(options.settings.RandomCameraStart, 0);
  EXPECT_EQ(options.settings.NightSide, 0);
  EXPECT_TRUE(options.printFps);
  EXPECT_EQ(options.frameRate, 0);
  EXPECT_EQ(options.display, ":7");
  EXPECT_TRUE(options.help);

  ASSERT_TRUE(Parse({"-speed", "0", "--tour", "flyby", "-random", "--night-side", "-no-fps"}, &options).ok);
  EXPECT_EQ(options.settings.AnimationSpeed, 0);
  EXPECT_EQ(options.settings.CamMode, 1);
  EXPECT_EQ(options.settings.RandomCameraStart, 1);
  EXPECT_EQ(options.settings.NightSide, 1);
  EXPECT_FALSE(options.printFps);
}

TEST(X11Options, ValuesOutsideTheirRangeAndUnknownOptionsAreRefused) {
  const std::vector<std::vector<const char*>> refused = {
      {"-speed", "-1"},       {"-speed", "101"},     {"-speed", "50x"},     {"-speed"},
      {"-tour", "2"},         {"-tour", "Orbit"},    {"-frame-rate", "-1"}, {"-frame-rate", "1001"},
      {"-start", "-0.5"},     {"-start", "nan"},     {"-window-id", "0"},   {"-no-speed"},
      {"---root"},            {"root"},              {"-visual", "best"},
  };
  for (const auto& args : refused) {
    Options options;
    const ParseResult result = Parse(args, &options);
    EXPECT_FALSE(result.ok) << args[0] << " " << (args.size() > 1 ? args[1] : "");
    EXPECT_FALSE(result.error.empty());
  }
}

TEST(X11Options, AStartTimeReplacesTheRandomStart) {
  Options options;
  ASSERT_TRUE(Parse({"-random", "-start", "1125.5"}, &options).ok);
  EXPECT_TRUE(options.startTimeGiven);
  EXPECT_DOUBLE_EQ(options.startTime, 1125.5);
  EXPECT_EQ(options.settings.RandomCameraStart, 0);
}

TEST(X11Options, TheWindowIsTheIdGivenThenXScreenSaversThenTheRootThenItsOwn) {
  struct Case {
    std::vector<const char*> args;
    const char* variable;
    DrawTarget target;
    unsigned long id;
  };
  const Case cases[] = {
      {{"-root"}, nullptr, DrawTarget::Root, 0},
      {{"--root"}, "0x1a00003", DrawTarget::WindowId, 0x1a00003},
      {{}, "27262979", DrawTarget::WindowId, 27262979},
      {{"-window"}, "0X2A", DrawTarget::WindowId, 42},
      {{"-window-id", "0x10", "-root"}, "0x99", DrawTarget::WindowId, 0x10},
      {{"-root", "--window-id", "4711"}, nullptr, DrawTarget::WindowId, 4711},
      {{"-window"}, nullptr, DrawTarget::OwnWindow, 0},
  };
  for (const Case& c : cases) {
    Options options;
    const ParseResult result = Parse(c.args, &options, c.variable);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(options.target, c.target) << (c.variable ? c.variable : "no XSCREENSAVER_WINDOW");
    if (c.target == DrawTarget::WindowId) {
      EXPECT_EQ(options.windowId, c.id);
    }
  }
  Options options;
  EXPECT_FALSE(Parse({"-root"}, &options, "window").ok) << "a variable that names no window is an error";
}

TEST(X11Options, AWindowNumberIsHexadecimalWith0xOrDecimalAndNothingElse) {
  unsigned long id = 0;
  EXPECT_TRUE(ParseWindowId("0x1A00003", &id));
  EXPECT_EQ(id, 0x1a00003u);
  EXPECT_TRUE(ParseWindowId("10", &id));
  EXPECT_EQ(id, 10u);
  for (const char* bad : {"", "0x", "0", "0x0", "-5", "+5", " 12", "12 ", "12abc", "1a", "0x0x1", "0x100000000"})
    EXPECT_FALSE(ParseWindowId(bad, &id)) << '"' << bad << '"';
}

}  // namespace
