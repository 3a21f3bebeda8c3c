// Frame timing of the X11 program: a fixed rate without bursts after a stop, and the rate
// it prints.
#include "x11/frame_pacing.h"

#include <gtest/gtest.h>

namespace {

TEST(FramePacer, KeepsTheRateAndDrawsNoBurstAfterAStop) {
  FramePacer pacer(50.0);  // 20 ms a frame
  EXPECT_EQ(pacer.WaitMilliseconds(100.0), 0) << "the first frame is due at once";
  pacer.FrameStarted(100.0);
  EXPECT_EQ(pacer.WaitMilliseconds(100.0), 20);
  EXPECT_EQ(pacer.WaitMilliseconds(100.015), 5);
  EXPECT_EQ(pacer.WaitMilliseconds(100.020), 0);
  // A frame started a little late keeps the grid: the next is due 20 ms after the last due time.
  pacer.FrameStarted(100.025);
  EXPECT_EQ(pacer.WaitMilliseconds(100.030), 10);
  // Stopped for seconds (SIGSTOP, SIGCONT): one frame now, the next a whole period later.
  EXPECT_EQ(pacer.WaitMilliseconds(107.0), 0);
  pacer.FrameStarted(107.0);
  EXPECT_EQ(pacer.WaitMilliseconds(107.0), 20);
}

TEST(FramePacer, RateZeroNeverWaits) {
  FramePacer pacer(0.0);
  for (double now = 5.0; now < 5.01; now += 0.001) {
    EXPECT_EQ(pacer.WaitMilliseconds(now), 0);
    pacer.FrameStarted(now);
  }
}

TEST(FrameRateMeter, ReportsOncePerSecondOfFrames) {
  FrameRateMeter meter;
  double rate = 0.0;
  EXPECT_FALSE(meter.Frame(10.0, &rate));
  for (int k = 1; k < 25; ++k) EXPECT_FALSE(meter.Frame(10.0 + k * 0.04, &rate));
  ASSERT_TRUE(meter.Frame(11.0, &rate));
  EXPECT_DOUBLE_EQ(rate, 25.0);
  EXPECT_FALSE(meter.Frame(11.5, &rate));
  ASSERT_TRUE(meter.Frame(12.0, &rate));
  EXPECT_DOUBLE_EQ(rate, 2.0);
}

}  // namespace
