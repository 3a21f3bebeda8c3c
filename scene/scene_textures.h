#pragma once
// The scene's OpenGL texture names, created once by LoadSceneResources and deleted by
// ReleaseSceneGLObjects. A name of 0 means "never created"; binding it draws untextured.

struct SceneTextures {
  unsigned int flareTextures[10] = {};    // flare1.jpg .. flare10.jpg, clamped
  unsigned int atmosphereTexture = 0;     // atmos.jpg, the outer cloud shell
  unsigned int cloudShadowTexture = 0;    // inverted grey copy of atmos.jpg, the inner shell
  unsigned int surfaceTextures[4] = {};   // surface0.jpg .. surface3.jpg, clamped
  unsigned int moonTexture = 0;           // phobos2.jpg, mipmapped
  // Display lists of where each flare picture can change a pixel (scene/cover_list.h); 0
  // where the whole square is drawn.
  unsigned int flareCovers[10] = {};
};

// The flare pictures the planet's billboards use: the limb glow (flare7.jpg), its crescent
// (flare9.jpg) and the multiplying limb mask (flare10.jpg).
inline constexpr int kLimbGlow = 6;
inline constexpr int kLimbCrescent = 8;
inline constexpr int kLimbMask = 9;
