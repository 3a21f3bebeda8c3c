#pragma once
// The lens flare: when the sun is on screen, a chain of coloured discs, rings and glows on
// the line from the sun through the screen centre, plus a horizontal streak through the
// sun. How much of the sun shows comes from the lines of sight around its image, tested
// against the bodies that can hide it (scene/sun_occlusion.h); the flare is drawn last,
// over everything else.
#include "scene/flare_math.h"
#include "scene/flare_picture.h"
#include "scene/scene_load_error.h"
#include "scene/sun_occlusion.h"

class PictureLoader;

struct LensFlares {
  FlarePicture pictures[kFlarePictureCount];  // clamped; none until loaded

  // With the context current: flare1.jpg to flare10.jpg in order, up to the first that
  // cannot be read.
  SceneLoadResult Load(PictureLoader& loader);
  // With the context current: deletes the textures and cover lists.
  void Release();
};

// How much of the sun shows this frame.
struct SunVisibility {
  SunImage image;
  int samples = 0;  // ring samples on the viewport
  int visible = 0;  // of those, samples whose line of sight no body hides
  double fraction() const { return static_cast<double>(visible) / kRingSampleCount; }
};

// Projects the sun (world position) with the current matrices and viewport, which must hold
// the camera only, and tests each ring sample's line of sight, from the near plane to the
// sun's depth through the sample pixel's centre, against the occluders. Reads no pixels.
SunVisibility TestSunVisibility(const double sun[3], const SunOccluders& occluders);

// Last of the bodies, with the model-view holding the camera only. Draws nothing when the
// sun lies behind the eye, off screen or wholly covered.
// Pictures never loaded draw untextured quads.
void DrawLensFlares(const LensFlares& flares, const double sun[3], const SunOccluders& occluders);

// One textured square in normalised device coordinates, added onto the picture
// (GL_SRC_ALPHA, GL_ONE) without lighting or depth test; restores the matrices and the
// attribute groups it saves, and leaves the blend function and the texture binding set.
// With a `cover` list of the texture (scene/cover_list.h), a square of at least
// kCoveredQuadPixels draws only its cover; a smaller one is not worth the extra triangles.
void DrawFlareQuad(double x, double y, double angle, double cornerX, double cornerY, double alpha,
                   unsigned int texture, float red, float green, float blue, unsigned int cover = 0);
