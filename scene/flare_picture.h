#pragma once
// The flare pictures flare1.jpg to flare10.jpg: the lens flares draw them (scene/lens_flares.h)
// and the planet's limb borrows three of them.
#include "scene/gl_objects.h"

// One picture: its texture and the list of where it can change a pixel (scene/cover_list.h);
// without a cover list its whole square is drawn.
struct FlarePicture {
  GlTexture texture;
  GlList cover;
};

inline constexpr int kFlarePictureCount = 10;
// The limb glow (flare7.jpg), its crescent (flare9.jpg) and the multiplying limb mask
// (flare10.jpg).
inline constexpr int kLimbGlow = 6;
inline constexpr int kLimbCrescent = 8;
inline constexpr int kLimbMask = 9;
