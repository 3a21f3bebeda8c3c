#pragma once
// Where an eye sees the moon in front of the sun, for the scene's tests.
#include <cmath>

#include "scene/moon.h"
#include "scene/scene.h"

// The point `distance` beyond the moon at `sceneTime` on the line from the sun through the
// moon's centre: looking from there at the sun, the moon stands in front of it.
inline void BehindTheMoon(double sceneTime, double distance, double eye[3]) {
  double moon[3], away[3], length = 0.0;
  MoonPosition(sceneTime, moon);
  for (int i = 0; i < 3; ++i) {
    away[i] = moon[i] - kSunPosition[i];
    length += away[i] * away[i];
  }
  length = std::sqrt(length);
  for (int i = 0; i < 3; ++i) eye[i] = moon[i] + away[i] / length * distance;
}
