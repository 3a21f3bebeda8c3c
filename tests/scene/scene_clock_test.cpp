// The scene clock: the step, the random start, and the motion by presentation times at
// every frame rate.
#include "scene/scene_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "scene/moon.h"
#include "scene/scene.h"

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

// The scene's motion by presentation times, without drawing: AdvanceScene is DrawFrame's
// first half.

// A run of presented frames: `rate` frames a second from time 0 (an odd start of the
// monotonic clock), every `lateEvery`-th frame coming a frame late (the one it replaces is
// not presented).
struct Frames {
  Frames(int32_t tour, double framesPerSecond, int late = 0) : rate(framesPerSecond), lateEvery(late) {
    scene.options.cameraTour = tour;
    scene.options.animationSpeed = 50;
  }
  double At(int frame) const { return static_cast<double>(frame) / rate; }
  // Presents frames up to and including `seconds` after the first.
  void Until(double seconds) {
    for (; At(next) <= seconds + 1e-9; ++next) {
      if (lateEvery > 0 && next % lateEvery == lateEvery - 1 && At(next + 1) <= seconds + 1e-9) ++next;
      AdvanceScene(scene, kClockStart + At(next));
      if (scene.tour.passRunning && passStarted < 0.0) passStarted = At(next);
    }
  }
  static constexpr double kClockStart = 86400.0 * 3.5;
  Scene scene;
  double rate;
  int lateEvery;
  int next = 0;
  double passStarted = -1.0;
};

// Differences of presentation times a few days into the clock carry rounding of some 1e-10 s
// a frame; a 60 Hz frame moves SceneTime by 0.06.
void ExpectSameMotion(const Scene& a, const Scene& b, const std::string& what) {
  EXPECT_NEAR(a.sceneTime, b.sceneTime, 1e-6) << what;
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(a.camera.eye[i], b.camera.eye[i], 1e-6) << what << " eye " << i;
    EXPECT_NEAR(a.camera.target[i], b.camera.target[i], 1e-6) << what << " target " << i;
    EXPECT_NEAR(a.camera.up[i], b.camera.up[i], 1e-6) << what << " up " << i;
  }
  EXPECT_EQ(a.tour.passRunning, b.tour.passRunning) << what;
}

TEST(SceneMotionTest, TheSameSecondsMoveEveryTourAlikeAtEveryFrameRateWithAndWithoutLateFrames) {
  for (int32_t tour : {kTourMixed, kTourFlyby, kTourOrbit}) {
    Frames reference(tour, 60.0);
    Frames runs[] = {{tour, 30.0}, {tour, 144.0}, {tour, 240.0}, {tour, 60.0, 7}, {tour, 144.0, 5}, {tour, 240.0, 3}};
    // Every sixth of a second is a frame of all four rates; 20 s span the mixed tour's
    // first pass (8.3 s to 16.9 s) and two passes of the flyby.
    for (int sixth = 1; sixth <= 120; ++sixth) {
      reference.Until(sixth / 6.0);
      for (Frames& run : runs) {
        run.Until(sixth / 6.0);
        ExpectSameMotion(run.scene, reference.scene,
                         "tour " + std::to_string(tour) + " at " + std::to_string(run.rate) + " Hz, late every " +
                             std::to_string(run.lateEvery) + ", " + std::to_string(sixth) + "/6 s");
      }
      if (testing::Test::HasFailure()) return;
    }
    EXPECT_NEAR(reference.scene.sceneTime, kSceneStartTime + 20 * 60 * 0.06, 1e-6) << "0.06 per 60 Hz frame";
  }
}

// The moon pass at 144 Hz: the eye's lead over the moon shrinks at every frame, never by
// more than a 60 Hz frame's step: no frame repeats the one before, none jumps a whole step.
TEST(SceneMotionTest, EachFrameAtAHighRateShowsItsOwnMoment) {
  constexpr double kPi = 3.14159265358979323846;
  Frames run(kTourFlyby, 144.0);
  const auto lead = [&] {
    double moon[3];
    MoonPosition(run.scene.sceneTime, moon);
    const Camera& c = run.scene.camera;
    return std::remainder(std::atan2(c.eye[1], c.eye[0]) - std::atan2(moon[1], moon[0]), 2 * kPi);
  };
  run.Until(0.0);
  double previous = lead();
  EXPECT_NEAR(previous, 0.1, 1e-9) << "the flyby's first pass starts at 0.1";
  for (int frame = 1; frame < 3 * 144; ++frame) {
    run.Until(run.At(frame));
    const double now = lead();
    ASSERT_LT(now, previous - 1e-6) << "frame " << frame << " repeats the lead of the one before";
    ASSERT_LT(previous - now, previous - NextLead(previous)) << "frame " << frame << " jumps a whole step";
    previous = now;
  }
}

TEST(SceneMotionTest, TheMixedToursMoonPassesComeAtTheSameSecondsAtSixtyAndAHundredAndFortyFour) {
  Frames sixty(kTourMixed, 60.0), fast(kTourMixed, 144.0);
  sixty.Until(9.0);
  fast.Until(9.0);
  EXPECT_NEAR(sixty.passStarted, 499.0 / 60, 1e-9) << "the 500th frame of 60 Hz";
  EXPECT_GE(fast.passStarted, sixty.passStarted);
  EXPECT_LT(fast.passStarted, sixty.passStarted + 1.0 / 144) << "the first frame at or after it";
}

TEST(SceneMotionTest, AStallMovesTheSceneAQuarterOfASecondAtMost) {
  Frames run(kTourOrbit, 60.0);
  run.Until(1.0);
  const double before = run.scene.sceneTime;
  AdvanceScene(run.scene, Frames::kClockStart + 1.0 + 30.0);  // half a minute in a debugger
  EXPECT_NEAR(run.scene.sceneTime - before, 15 * 0.06, 1e-9);
  AdvanceScene(run.scene, Frames::kClockStart + 1.0 + 30.0 + 1.0 / 60);
  EXPECT_NEAR(run.scene.sceneTime - before, 16 * 0.06, 1e-9) << "then on as before";
  AdvanceScene(run.scene, Frames::kClockStart);  // a clock that went back moves nothing
  EXPECT_NEAR(run.scene.sceneTime - before, 16 * 0.06, 1e-9);
}

TEST(SceneMotionTest, AStoppedClockHoldsTheMomentItReachedHoweverTheFramesFell) {
  for (double rate : {30.0, 144.0}) {
    SceneClock clock;
    clock.StopAfter(120.0);
    double moved = clock.FramesUntil(5.0);
    EXPECT_EQ(moved, 0.0) << "the first frame";
    moved += clock.FramesUntil(5.0 + 0.2);  // a slow frame
    for (int k = 1; !clock.Stopped(); ++k) {
      moved += clock.FramesUntil(5.2 + k / rate);
      ASSERT_LT(k, 1000);
    }
    EXPECT_NEAR(moved, 120.0, 1e-9) << rate << " Hz";
    EXPECT_EQ(clock.FramesUntil(100.0), 0.0) << "stopped";
  }
}

}  // namespace
