#pragma once
// What the scene takes from the program around it: the animation speed, the camera tour, a
// random start of the tour and the night side (kept, drawn by no step: the unlit side is
// always dark). Each host fills the record its own way (the Windows window from the user's
// settings, the X11 program from its command line); the ranges, defaults and the tours'
// names are declared here once for all of them (scene/scene_option_values.h).
#include <cstdint>

#include "base/value_range.h"
#include "scene/scene_option_values.h"

enum CameraTourMode : int32_t {
  kTourMixed = 0,  // orbit, with a moon pass every 500 frames of 60 Hz
  kTourFlyby = 1,  // moon passes only
  kTourOrbit = 2,  // orbit only
};

struct SceneOptions {
  int32_t animationSpeed = TELLARO_SPEED_DEFAULT;
  int32_t cameraTour = TELLARO_TOUR_DEFAULT;  // a CameraTourMode; any other value keeps the camera still
  int32_t randomStart = TELLARO_RANDOM_START_DEFAULT;  // non-zero: the tour starts at a random point
  int32_t nightSide = TELLARO_NIGHT_SIDE_DEFAULT;
};

inline constexpr SceneOptions kSceneOptionDefaults{};
// The settings page's slider, from "slow" to "fast".
inline constexpr ValueRange kAnimationSpeedRange{TELLARO_SPEED_LOW, TELLARO_SPEED_HIGH};
inline constexpr ValueRange kCameraTourRange{kTourMixed, kTourOrbit};

struct CameraTourName {
  const char* option;  // the word a command line names it by
  const char* title;   // as a list shows it
};
// By CameraTourMode.
inline constexpr CameraTourName kCameraTourNames[TELLARO_TOUR_COUNT] = {
    {TELLARO_TOUR_0_OPTION, TELLARO_TOUR_0_TITLE},
    {TELLARO_TOUR_1_OPTION, TELLARO_TOUR_1_TITLE},
    {TELLARO_TOUR_2_OPTION, TELLARO_TOUR_2_TITLE},
};
static_assert(kCameraTourRange.high - kCameraTourRange.low + 1 == TELLARO_TOUR_COUNT, "one name per tour");
static_assert(kCameraTourRange.Holds(TELLARO_TOUR_DEFAULT), "the default is a tour");
static_assert(sizeof(TELLARO_TOUR_0_ITEM) == TELLARO_TOUR_0_ITEM_BYTES &&
                  sizeof(TELLARO_TOUR_1_ITEM) == TELLARO_TOUR_1_ITEM_BYTES &&
                  sizeof(TELLARO_TOUR_2_ITEM) == TELLARO_TOUR_2_ITEM_BYTES,
              "the list's byte counts match its texts");
