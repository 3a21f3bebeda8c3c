#pragma once
// The camera tours, each position a closed-form function of SceneTime: a rolling orbit
// around the planet, close passes over the moon driven by a lead that shrinks per frame, and
// the mixed tour that starts a pass every 500 frames of orbit. The tour's frames are frames
// of 60 Hz: whole ones move its state (the frame count, the pass's lead), and the camera of a
// moment between two of them follows the lead from one to the next.
#include <cstdint>

#include "scene/camera.h"
#include "scene/scene_options.h"

enum class TourShot { None, Orbit, Pass };

struct CameraTour {
  int frame = 0;               // 60 Hz frames of the current leg, counted at the start of each
  double flybyProgress = 0.1;  // the eye's angular lead over the moon, radians
  bool passRunning = false;    // mixed tour only
  TourShot shot = TourShot::None;  // what the latest tour frame shows
  double shownLead = 0.0;          // the lead the latest pass frame shows
  double sinceFrame = 1.0;  // 60 Hz frames since the latest tour frame: the first is due at once
};

// A pass starts at this lead and ends once the lead falls below kPassEnd.
inline constexpr double kPassStart = 0.2;
inline constexpr double kPassEnd = -0.3;
inline constexpr int kFramesBetweenPasses = 500;

// The orbit: an ellipse over the poles with a swing along y and a slowly rolling up vector.
void OrbitCamera(Camera& camera, double sceneTime);
// The pass: the eye `lead` radians ahead of the moon, just outside its orbit.
void PassCamera(Camera& camera, double sceneTime, double lead);
// The lead one 60 Hz frame later.
double NextLead(double lead);

// One frame of a moon pass (from kPassStart when `start`): the lead it shows becomes
// shownLead, the progress moves on. True while the pass goes on, false on the frame that
// ends it, after which the progress is back at kPassStart.
bool PassStep(CameraTour& tour, bool start);

// One 60 Hz frame of the tour's state: counted, then the orbit or the pass moves on. Modes
// other than the three tours show nothing of their own.
void TourFrame(int32_t camMode, CameraTour& tour);

// Moves the tour on by `frames` of 60 Hz (fractional) and places the camera for the moment
// reached, at `sceneTime`. Modes other than the three tours leave the camera alone.
void AdvanceCameraTour(int32_t camMode, double frames, double sceneTime, CameraTour& tour, Camera& camera);
