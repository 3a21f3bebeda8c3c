#include "scene/scene_clock.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(SceneClockTest, StepFollowsTheAnimationSpeed) {
  EXPECT_DOUBLE_EQ(SceneTimeStep(50), 0.06);
  EXPECT_NEAR(SceneTimeStep(0), 0.0212, 0.0001);
  EXPECT_NEAR(SceneTimeStep(100), 0.1697, 0.0001);
  EXPECT_LT(SceneTimeStep(49), SceneTimeStep(50));
}

TEST(SceneClockTest, SpeedsOutsideTheSliderRangeAreClamped) {
  EXPECT_DOUBLE_EQ(SceneTimeStep(-5), SceneTimeStep(0));
  EXPECT_DOUBLE_EQ(SceneTimeStep(101), SceneTimeStep(100));
  EXPECT_DOUBLE_EQ(SceneTimeStep(INT32_MAX), SceneTimeStep(100));
  EXPECT_DOUBLE_EQ(SceneTimeStep(INT32_MIN), SceneTimeStep(0));
  EXPECT_TRUE(std::isfinite(SceneTimeStep(1 << 30)));
}

TEST(SceneClockTest, RandomStartComesFromTheTickCount) {
  // The C runtime's rand() after srand(1) begins with 41; after srand(2) with 45.
  EXPECT_DOUBLE_EQ(RandomStartTime(1), 41.0);
  EXPECT_DOUBLE_EQ(RandomStartTime(2), 45.0);
  EXPECT_NE(RandomStartTime(123456), RandomStartTime(987654)) << "different start times, different tour points";
  for (uint32_t tick : {0u, 1u, 65535u, 0x7fffffffu, 0xffffffffu}) {
    const double start = RandomStartTime(tick);
    EXPECT_GE(start, 0.0) << "tick " << tick;
    EXPECT_LE(start, 32767.0) << "tick " << tick;
  }
}

}  // namespace
