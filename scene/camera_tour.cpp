#include "scene/camera_tour.h"

#include <algorithm>
#include <cmath>

#include "scene/moon.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

// The eye flies 0.05 outside the moon's orbit, just below its plane, and looks at a point
// 0.015 inside the orbit a hair ahead of the moon.
constexpr double kPassEyeRadius = kMoonOrbitRadius + 0.05;
constexpr double kPassTargetRadius = kMoonOrbitRadius - 0.015;

// Presentation times add up with rounding: a moment this close to a whole tour frame is that
// frame, so that the same second reaches the same frame at every frame rate.
constexpr double kWholeFrameSlack = 1e-6;

void Set(double v[3], double x, double y, double z) {
  v[0] = x;
  v[1] = y;
  v[2] = z;
}
}  // namespace

void OrbitCamera(Camera& camera, double t) {
  Set(camera.eye, 3.0 * std::sin(-0.0125 * t), -2.0 * std::sin(-0.02 * t), 4.0 * std::cos(-0.0125 * t));
  Set(camera.target, 0.0, 0.7, 0.0);
  // The up vector turns with two slightly different rates, so the roll repeats only after
  // 2 pi * 1560 units of SceneTime.
  Set(camera.up, std::cos(t * 0.008333333333333333), std::sin(t * 0.007692307692307693), 0.0);
}

void PassCamera(Camera& camera, double t, double lead) {
  const double a = t * kMoonOrbitDegreesPerTime * kPi / 180.0;
  Set(camera.eye, kPassEyeRadius * std::cos(a + lead), kPassEyeRadius * std::sin(a + lead), -0.01);
  Set(camera.target, kPassTargetRadius * std::cos(a + 0.005), kPassTargetRadius * std::sin(a + 0.005), 0.0);
  Set(camera.up, 0.2, 0.1, 1.0);
}

// The lead shrinks by 1 % plus a constant while ahead of the moon, crosses zero as the eye
// sweeps over it, then grows behind it at the same rate.
double NextLead(double lead) { return lead - (std::fabs(0.01 * lead) + 0.0002); }

bool PassStep(CameraTour& tour, bool start) {
  const double lead = start ? kPassStart : tour.flybyProgress;
  tour.shot = TourShot::Pass;
  tour.shownLead = lead;
  tour.flybyProgress = NextLead(lead);
  if (tour.flybyProgress < kPassEnd) {
    tour.flybyProgress = kPassStart;
    return false;
  }
  return true;
}

void TourFrame(int32_t camMode, CameraTour& tour) {
  ++tour.frame;
  switch (camMode) {
    case kTourFlyby:
      PassStep(tour, false);  // restarts itself at kPassStart
      return;
    case kTourOrbit:
      tour.shot = TourShot::Orbit;
      return;
    case kTourMixed:
      if (!tour.passRunning) {
        if (tour.frame % kFramesBetweenPasses != 0) {
          tour.shot = TourShot::Orbit;
          return;
        }
        // The first frame of a pass takes two steps: the start, then the regular one.
        tour.passRunning = true;
        PassStep(tour, true);
      }
      if (!PassStep(tour, false)) {
        tour.passRunning = false;
        tour.frame = 0;
      }
      return;
    default:
      return;
  }
}

void AdvanceCameraTour(int32_t camMode, double frames, double t, CameraTour& tour, Camera& camera) {
  tour.sinceFrame += frames;
  while (tour.sinceFrame >= 1.0 - kWholeFrameSlack) {
    TourFrame(camMode, tour);
    tour.sinceFrame -= 1.0;
  }
  const double between = std::clamp(tour.sinceFrame, 0.0, 1.0);
  switch (tour.shot) {
    case TourShot::Orbit:
      OrbitCamera(camera, t);
      return;
    case TourShot::Pass:
      PassCamera(camera, t, tour.shownLead + between * (NextLead(tour.shownLead) - tour.shownLead));
      return;
    case TourShot::None:
      return;
  }
}
