#pragma once
// The values a user can choose for the video mode's settings. The scene's settings (speed,
// camera tour, random start, night side) take their ranges from scene/scene_options.h.
#include "base/value_range.h"

inline constexpr ValueRange kPixelsRange{1, 16384};   // a video mode's width or height
inline constexpr ValueRange kColorDepthRange{1, 32};  // a video mode's bits per pixel
