#include "scene/camera_tour.h"

#include <cmath>

#include "scene/moon.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

// The eye flies 0.05 outside the moon's orbit, just below its plane, and looks at a point
// 0.015 inside the orbit a hair ahead of the moon.
constexpr double kPassEyeRadius = kMoonOrbitRadius + 0.05;
constexpr double kPassTargetRadius = kMoonOrbitRadius - 0.015;

void Set(double v[3], double x, double y, double z) {
  v[0] = x;
  v[1] = y;
  v[2] = z;
}
}  // namespace

void OrbitStep(Camera& camera, double t) {
  Set(camera.eye, 3.0 * std::sin(-0.0125 * t), -2.0 * std::sin(-0.02 * t), 4.0 * std::cos(-0.0125 * t));
  Set(camera.target, 0.0, 0.7, 0.0);
  // The up vector turns with two slightly different rates, so the roll repeats only after
  // 2 pi * 1560 units of SceneTime.
  Set(camera.up, std::cos(t * 0.008333333333333333), std::sin(t * 0.007692307692307693), 0.0);
}

bool PassStep(Camera& camera, CameraTour& tour, double t, bool start) {
  double p = start ? kPassStart : tour.flybyProgress;
  const double a = t * kMoonOrbitDegreesPerTime * kPi / 180.0;
  Set(camera.eye, kPassEyeRadius * std::cos(a + p), kPassEyeRadius * std::sin(a + p), -0.01);
  Set(camera.target, kPassTargetRadius * std::cos(a + 0.005), kPassTargetRadius * std::sin(a + 0.005), 0.0);
  Set(camera.up, 0.2, 0.1, 1.0);
  // The lead shrinks by 1 % plus a constant while ahead of the moon, crosses zero as the
  // eye sweeps over it, then grows behind it at the same rate.
  p -= std::fabs(0.01 * p) + 0.0002;
  tour.flybyProgress = p;
  if (p < kPassEnd) {
    tour.flybyProgress = kPassStart;
    return false;
  }
  return true;
}

void UpdateCameraTour(int32_t camMode, double t, int& tourFrame, CameraTour& tour, Camera& camera) {
  switch (camMode) {
    case kTourFlyby:
      PassStep(camera, tour, t, false);  // restarts itself at kPassStart
      return;
    case kTourOrbit:
      OrbitStep(camera, t);
      return;
    case kTourMixed:
      if (!tour.passRunning) {
        if (tourFrame % kFramesBetweenPasses != 0) {
          OrbitStep(camera, t);
          return;
        }
        // The first frame of a pass takes two steps: the start, then the regular one.
        tour.passRunning = true;
        PassStep(camera, tour, t, true);
      }
      if (!PassStep(camera, tour, t, false)) {
        tour.passRunning = false;
        tourFrame = 0;
      }
      return;
    default:
      return;
  }
}
