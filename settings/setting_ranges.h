#pragma once
// The values a user can choose for the settings that have a range, for every front end
// (the Windows settings page, the X11 program's options). The defaults are the Settings
// record's own; the camera tours are the scene's CameraTourMode values.
#include <cstdint>

struct SettingRange {
  int32_t low;
  int32_t high;
  constexpr bool Holds(int32_t value) const { return value >= low && value <= high; }
  constexpr int32_t Clamp(int32_t value) const { return value < low ? low : (value > high ? high : value); }
};

// The settings page's "Animation speed" slider, from "slow" to "fast".
inline constexpr SettingRange kAnimationSpeedRange{0, 100};
inline constexpr SettingRange kCameraTourRange{0, 2};    // the camera list's three tours
inline constexpr SettingRange kSwitchRange{0, 1};        // check boxes and flags
inline constexpr SettingRange kPixelsRange{1, 16384};    // a video mode's width or height
inline constexpr SettingRange kColorDepthRange{1, 32};   // a video mode's bits per pixel
