// Frame timing of the X11 program: a fixed rate with no burst after a stop, each frame's time
// on the schedule while it keeps to it.
#include "x11/frame_pacing.h"

#include <gtest/gtest.h>

namespace {

TEST(FramePacing, KeepsTheRateAndDrawsNoBurstAfterAStop) {
  FramePacer pacer(50.0);  // 20 ms a frame
  EXPECT_EQ(pacer.WaitMilliseconds(100.0), 0);
  EXPECT_EQ(pacer.FrameStarted(100.0), 100.0);
  EXPECT_EQ(pacer.WaitMilliseconds(100.015), 5);
  // A little late: the grid holds, and the frame shows the moment it was due.
  EXPECT_DOUBLE_EQ(pacer.FrameStarted(100.025), 100.02);
  EXPECT_EQ(pacer.WaitMilliseconds(100.030), 10);
  EXPECT_EQ(pacer.WaitMilliseconds(107.0), 0);  // stopped for seconds: one frame now,
  EXPECT_EQ(pacer.FrameStarted(107.0), 107.0);
  EXPECT_EQ(pacer.WaitMilliseconds(107.0), 20);  // the next a whole period later
  FramePacer unpaced(0.0);
  EXPECT_EQ(unpaced.FrameStarted(5.0), 5.0);
  EXPECT_EQ(unpaced.WaitMilliseconds(5.0), 0);
  EXPECT_EQ(unpaced.FrameStarted(5.5), 5.5);
}

}  // namespace
