// Frame timing of the X11 program: a fixed rate with no burst after a stop.
#include "x11/frame_pacing.h"

#include <gtest/gtest.h>

namespace {

TEST(FramePacing, KeepsTheRateAndDrawsNoBurstAfterAStop) {
  FramePacer pacer(50.0);  // 20 ms a frame
  EXPECT_EQ(pacer.WaitMilliseconds(100.0), 0);
  pacer.FrameStarted(100.0);
  EXPECT_EQ(pacer.WaitMilliseconds(100.015), 5);
  pacer.FrameStarted(100.025);  // a little late: the grid holds
  EXPECT_EQ(pacer.WaitMilliseconds(100.030), 10);
  EXPECT_EQ(pacer.WaitMilliseconds(107.0), 0);  // stopped for seconds: one frame now,
  pacer.FrameStarted(107.0);
  EXPECT_EQ(pacer.WaitMilliseconds(107.0), 20);  // the next a whole period later
  FramePacer unpaced(0.0);
  unpaced.FrameStarted(5.0);
  EXPECT_EQ(unpaced.WaitMilliseconds(5.0), 0);
}

}  // namespace
