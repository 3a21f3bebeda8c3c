#pragma once
// The planet: the textured surface with a pale haze towards the horizon, two thin cloud
// shells (an inner one that darkens the ground under the clouds, an outer one that adds
// their light) and a mask that darkens the limb; the glow along the limb is drawn apart
// (scene/limb_glow.h). The planet owns its textures, its surface grid and the display lists
// of its fixed geometry.
#include <cstddef>
#include <cstdint>

#include "scene/flare_picture.h"
#include "scene/gl_objects.h"
#include "scene/scene_load_error.h"
#include "scene/sphere_mesh.h"

class PictureLoader;

struct Planet {
  GlTexture surfaceTextures[4];  // surface0.jpg .. surface3.jpg, clamped; as SphereMesh::Draw takes them
  GlTexture atmosphereTexture;   // atmos.jpg, the outer cloud shell
  GlTexture cloudShadowTexture;  // its inverted grey copy, the inner cloud shell
  SphereMesh planetMesh;         // the surface grid, built once
  bool planetMeshPending = true;
  GlList surface;  // the grid with its four textures bound inside
  GlList innerShell;
  GlList outerShell;

  // With the context current: atmos.jpg, its inverted copy, then surface0.jpg to
  // surface3.jpg, up to the first failure.
  SceneLoadResult Load(PictureLoader& loader);
  // With the context current, after Load: builds the grid if still pending and compiles
  // every list not yet compiled. Drawing compiles what is missing on its own.
  void Compile();
  // With the context current: deletes the textures and lists.
  void Release();
};

// On the model-view holding the camera and the planet's spin; returns it unchanged.
// `limbMask` is the multiplying picture laid over the disc. Builds the surface grid on its
// first call. Leaves blending off, the depth test on and the blend function at
// (GL_DST_COLOR, GL_ZERO).
void DrawPlanet(Planet& planet, const FlarePicture& limbMask, double sceneTime);

// Linear fog over the last 0.67 units before the horizon of a unit sphere whose centre lies
// `eyeDepth` in front of the eye: end sqrt(d^2 - 1), start end - 0.67. With the centre
// within one unit of the eye plane there is no such horizon and the fog stays off.
struct SurfaceFog {
  bool enabled;
  double start;
  double end;
};
SurfaceFog SurfaceFogFor(double eyeDepth);

// The inner cloud shell's picture: every pixel of `rgb` (3 or 4 bytes each, per
// `bytesPerPixel`) becomes grey 255 - floor((R + G + B) / 3) in the 3-byte pixels of `out`.
void InvertToGrey(const uint8_t* rgb, size_t pixelCount, int bytesPerPixel, uint8_t* out);
