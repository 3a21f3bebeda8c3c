#include "shell/frame_rules.h"

#include <gtest/gtest.h>

#include "shell/video_mode.h"

namespace {

TEST(MouseMoveRuleTest, TenPixelsAreToleratedElevenEndTheRun) {
  MouseMoveRule rule;
  EXPECT_FALSE(rule.EndsRun(100, 200, false)) << "the first move only sets the reference";
  EXPECT_FALSE(rule.EndsRun(110, 210, false));
  EXPECT_FALSE(rule.EndsRun(90, 190, false));
  EXPECT_TRUE(rule.EndsRun(111, 200, false));
  EXPECT_TRUE(rule.EndsRun(100, 189, false));
}

TEST(MouseMoveRuleTest, SlowDriftEndsTheRunBecauseTheReferenceStays) {
  MouseMoveRule rule;
  rule.EndsRun(0, 0, false);
  for (int x = 1; x <= 10; ++x) EXPECT_FALSE(rule.EndsRun(x, 0, false)) << "x " << x;
  EXPECT_TRUE(rule.EndsRun(11, 0, false));
}

TEST(MouseMoveRuleTest, WhileBusyEveryMoveRetakesTheReference) {
  MouseMoveRule rule;
  rule.EndsRun(0, 0, false);
  EXPECT_FALSE(rule.EndsRun(500, 300, true)) << "dismissing the warning box must not end the run";
  EXPECT_FALSE(rule.EndsRun(505, 305, false));
  EXPECT_TRUE(rule.EndsRun(489, 300, false));
}

TEST(SlowFrameCheckTest, WarnsOnlyWhenFramesSixToFifteenTakeOverThreeSeconds) {
  SlowFrameCheck fast;
  SlowFrameCheck slow;
  SlowFrameCheck exact;
  int fastWarnings = 0, slowWarnings = 0, exactWarnings = 0;
  for (int frame = 0; frame < 40; ++frame) {
    fastWarnings += fast.WarningDue(frame, 1000u + static_cast<uint32_t>(frame) * 10u);
    slowWarnings += slow.WarningDue(frame, 1000u + static_cast<uint32_t>(frame) * 301u);
    exactWarnings += exact.WarningDue(frame, 1000u + static_cast<uint32_t>(frame) * 300u);
  }
  EXPECT_EQ(fastWarnings, 0);
  EXPECT_EQ(slowWarnings, 1) << "at most once per run";
  EXPECT_EQ(exactWarnings, 0) << "exactly 3000 ms is not over three seconds";
}

TEST(DisplayModeChoiceTest, SavedModeEqualToTheDesktopNeedsNoSwitch) {
  Settings settings;
  settings.CurrentVideomode = 0;
  settings.XResolution = 1024;
  settings.YResolution = 768;
  settings.ColorDepth = 24;
  EXPECT_FALSE(ChooseDisplayMode(settings, {1024, 768, 24}));
}

TEST(DisplayModeChoiceTest, ZeroSizeOrDepthTakeTheDesktops) {
  Settings settings;
  settings.CurrentVideomode = 0;
  settings.XResolution = 0;
  settings.YResolution = 768;
  settings.ColorDepth = 0;
  std::optional<VideoMode> mode = ChooseDisplayMode(settings, {1280, 1024, 32});
  ASSERT_TRUE(mode);
  EXPECT_EQ(mode->width, 1280);
  EXPECT_EQ(mode->height, 1024);
  EXPECT_EQ(mode->bitsPerPixel, 32);

  settings.XResolution = 800;
  settings.YResolution = 600;
  settings.ColorDepth = 16;
  mode = ChooseDisplayMode(settings, {1280, 1024, 32});
  ASSERT_TRUE(mode);
  EXPECT_EQ(mode->width, 800);
  EXPECT_EQ(mode->height, 600);
  EXPECT_EQ(mode->bitsPerPixel, 16);
}

TEST(DisplayModeChoiceTest, DesktopModeSettingNeverSwitches) {
  Settings settings;  // CurrentVideomode 1 by default
  EXPECT_FALSE(ChooseDisplayMode(settings, {640, 480, 8}));
}

}  // namespace
