// The camera tours: closed-form positions at given SceneTimes, the length of a moon pass,
// the mixed tour's alternation of orbit and passes, and the camera between two tour frames.
#include "scene/camera_tour.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scene/moon.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

void ExpectVector(const double v[3], double x, double y, double z, const char* what) {
  EXPECT_NEAR(v[0], x, 1e-12) << what << " x";
  EXPECT_NEAR(v[1], y, 1e-12) << what << " y";
  EXPECT_NEAR(v[2], z, 1e-12) << what << " z";
}

bool SameCamera(const Camera& a, const Camera& b) {
  for (int i = 0; i < 3; ++i)
    if (a.eye[i] != b.eye[i] || a.target[i] != b.target[i] || a.up[i] != b.up[i]) return false;
  return true;
}

TEST(OrbitTest, PositionsAtGivenSceneTimes) {
  Camera camera;
  OrbitCamera(camera, 0.0);
  ExpectVector(camera.eye, 0, 0, 4, "t = 0: over the ellipse's far end on +z");
  ExpectVector(camera.target, 0, 0.7, 0, "target");
  ExpectVector(camera.up, 1, 0, 0, "up");

  // A quarter of the ellipse: 0.0125 t = pi / 2.
  const double t = kPi / 2 / 0.0125;
  OrbitCamera(camera, t);
  // Worked out on a calculator: -2 sin(-0.02 t), and cos(t / 120) = cos(pi / 3), sin(t / 130).
  ExpectVector(camera.eye, -3, 1.1755705045849465, 0, "quarter turn: half-axis 3 along -x");
  ExpectVector(camera.up, 0.5, 0.8229838658936564, 0, "the up vector rolls at two rates");

  OrbitCamera(camera, 28659.0);
  ExpectVector(camera.eye, -0.2873711709917548, 1.9742440670096222, 3.9816061103435416,
               "the first frame of a run without a random start");
}

TEST(PassTest, FirstStepOfAPassFromTheStart) {
  Camera camera;
  CameraTour tour;
  // At SceneTime 0 the moon stands on +x; worked out on a calculator: 2.815 (cos 0.2, sin 0.2)
  // and 2.75 (cos 0.005, sin 0.005).
  EXPECT_TRUE(PassStep(tour, true));
  EXPECT_EQ(tour.shot, TourShot::Pass);
  EXPECT_EQ(tour.shownLead, 0.2);
  PassCamera(camera, 0.0, tour.shownLead);
  ExpectVector(camera.eye, 2.7588874166230952, 0.5592541661880973, -0.01,
               "0.05 outside the moon's orbit, 0.2 rad ahead, just below its plane");
  ExpectVector(camera.target, 2.7499656250716145, 0.013749942708404947, 0, "target");
  ExpectVector(camera.up, 0.2, 0.1, 1.0, "up");
  EXPECT_DOUBLE_EQ(tour.flybyProgress, 0.2 - (0.002 + 0.0002)) << "1 % plus 0.0002 less";

  // Later the pass follows the moon on its orbit: the target lies just ahead of its centre
  // (0.015 inside the orbit, 0.005 rad ahead) and the eye 0.2 rad ahead of it.
  const double t = 100.0;
  PassCamera(camera, t, 0.2);
  double moon[3];
  MoonPosition(t, moon);
  const double dx = camera.target[0] - moon[0], dy = camera.target[1] - moon[1];
  EXPECT_LT(std::sqrt(dx * dx + dy * dy), 0.03);
  const double lead = std::atan2(camera.eye[1], camera.eye[0]) - std::atan2(moon[1], moon[0]);
  EXPECT_NEAR(std::remainder(lead, 2 * kPi), 0.2, 1e-9);
}

int StepsUntilEnd(CameraTour& tour, bool start) {
  int steps = 1;
  if (!PassStep(tour, start)) return steps;
  while (PassStep(tour, false)) {
    if (++steps > 100000) return -1;
  }
  return steps + 1;
}

TEST(PassTest, PassLengthsFromTheStartAndFromTheInitialProgress) {
  CameraTour fromStart;
  EXPECT_EQ(StepsUntilEnd(fromStart, true), 518) << "a pass from 0.2";
  EXPECT_DOUBLE_EQ(fromStart.flybyProgress, 0.2) << "the ending step stores 0.2 again";
  CameraTour firstFlyby;  // starts at 0.1
  EXPECT_EQ(StepsUntilEnd(firstFlyby, false), 457) << "the first pass of a flyby run";
}

TEST(PassTest, ProgressLandingExactlyOnTheEndGoesOnOneMoreStep) {
  // From p, one step gives p - (0.01 |p| + 0.0002); choose p so that it lands on -0.3 exactly.
  // For p < 0: p - (-0.01 p + 0.0002) = 1.01 p - 0.0002 = -0.3.
  CameraTour tour;
  tour.flybyProgress = (-0.3 + 0.0002) / 1.01;
  const double p = tour.flybyProgress;
  ASSERT_EQ(p - (std::fabs(0.01 * p) + 0.0002), -0.3) << "the arithmetic must land exactly for this test";
  EXPECT_TRUE(PassStep(tour, false)) << "-0.3 is not below -0.3";
  EXPECT_EQ(tour.flybyProgress, -0.3);
  EXPECT_FALSE(PassStep(tour, false)) << "the next step ends the pass";
  EXPECT_EQ(tour.flybyProgress, 0.2);
}

// The mixed tour one whole 60 Hz frame at a time, as the scene moves it at 60 Hz.
struct MixedRun {
  Camera camera;
  CameraTour tour;
  double t = 28659.0;
  bool started = false;

  // True when this frame's camera is the orbit's for the frame's SceneTime.
  bool Frame() {
    AdvanceCameraTour(kTourMixed, started ? 1.0 : 0.0, t, tour, camera);  // the first is due at once
    started = true;
    Camera orbit;
    OrbitCamera(orbit, t);
    t += 0.06;
    return SameCamera(camera, orbit);
  }
};

TEST(MixedTourTest, FiveHundredFramesOfOrbitThenAPass) {
  MixedRun run;
  for (int frame = 1; frame <= 499; ++frame) ASSERT_TRUE(run.Frame()) << "frame " << frame << " is an orbit frame";
  EXPECT_FALSE(run.tour.passRunning);
  EXPECT_FALSE(run.Frame()) << "frame 500 is the first pass frame";
  EXPECT_TRUE(run.tour.passRunning);
  // The pass goes on until its steps are used up: 518 steps in 517 frames.
  int passFrames = 1;
  while (run.tour.passRunning) {
    EXPECT_FALSE(run.Frame());
    ++passFrames;
    ASSERT_LT(passFrames, 1000);
  }
  EXPECT_EQ(passFrames, 517);
  EXPECT_EQ(run.tour.frame, 0) << "the frame counter restarts when the pass ends";
  EXPECT_DOUBLE_EQ(run.tour.flybyProgress, 0.2);

  // Then 499 orbit frames again, resuming where the clock has got to, and the next pass.
  for (int frame = 1; frame <= 499; ++frame) ASSERT_TRUE(run.Frame()) << "frame " << frame << " after the pass";
  EXPECT_FALSE(run.Frame()) << "500 frames after the previous pass ended";
}

TEST(OtherModesTest, KeepTheInitialCamera) {
  for (int32_t mode : {3, -1, 7, INT32_MIN, INT32_MAX}) {
    Camera camera;
    CameraTour tour;
    for (int frame = 0; frame < 1200; ++frame) AdvanceCameraTour(mode, 1.0, 28659.0 + frame * 0.06, tour, camera);
    ExpectVector(camera.eye, 1, 1, 1, "eye");
    ExpectVector(camera.target, 0, 0, 0, "target");
    ExpectVector(camera.up, 0, 1, 0, "up");
    EXPECT_FALSE(tour.passRunning) << "mode " << mode;
  }
}

}  // namespace
