#pragma once
// The scene's OpenGL texture names, created once by LoadSceneResources and released with
// the rendering context. A name of 0 means "never created"; binding it draws untextured.

struct SceneTextures {
  unsigned int flareTextures[10] = {};    // flare1.jpg .. flare10.jpg, clamped
  unsigned int atmosphereTexture = 0;     // atmos.jpg, the outer cloud shell
  unsigned int cloudShadowTexture = 0;    // inverted grey copy of atmos.jpg, the inner shell
  unsigned int surfaceTextures[4] = {};   // surface0.jpg .. surface3.jpg, clamped
  unsigned int moonTexture = 0;           // phobos2.jpg, mipmapped
};
