#pragma once
// The camera tours, each position a closed-form function of SceneTime: a rolling orbit
// around the planet, close passes over the moon driven by a progress value that advances
// per frame, and the mixed tour that starts a pass every 500 frames of orbit.
#include <cstdint>

#include "scene/camera.h"
#include "scene/scene_options.h"

struct CameraTour {
  double flybyProgress = 0.1;  // the eye's angular lead over the moon, radians
  bool passRunning = false;    // mixed tour only
};

// A pass starts at this lead and ends once the lead falls below kPassEnd.
inline constexpr double kPassStart = 0.2;
inline constexpr double kPassEnd = -0.3;
inline constexpr int kFramesBetweenPasses = 500;

// The orbit: an ellipse over the poles with a swing along y and a slowly rolling up vector.
void OrbitStep(Camera& camera, double sceneTime);

// One step of a moon pass (from kPassStart when `start`); true while the pass goes on,
// false on the step that ends it, after which the progress is back at kPassStart.
bool PassStep(Camera& camera, CameraTour& tour, double sceneTime, bool start);

// The camera for this frame; `tourFrame` has already been counted for it. Modes other than
// the three tours leave the camera alone.
void UpdateCameraTour(int32_t camMode, double sceneTime, int& tourFrame, CameraTour& tour, Camera& camera);
