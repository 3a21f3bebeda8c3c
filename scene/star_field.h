#pragma once
// The star field: every catalogue star as a smoothed, coloured point of graded size on a
// sphere of radius 350 around the planet, compiled into one display list on the first
// frame (drawing while it compiles), or at the scene's start, and replayed on every frame.
#include "scene/star_catalogue.h"

inline constexpr double kStarSphereRadius = 350.0;

// How one star is drawn: its colour (each channel held to 0..1, as OpenGL holds it), its
// point size in pixels and its direction on the unit sphere. North (+z) is the planet's
// axis, right ascension 0 lies on +x and grows towards +y.
struct StarPoint {
  float red, green, blue;
  float size;
  double direction[3];
};
StarPoint StarPointFor(const StarRecord& star);

// Right after the camera, with the model-view holding the camera only; leaves it as found
// and restores the attribute groups it saves. Leaves the blend function at
// (GL_SRC_ALPHA, GL_ONE) and the point size at the last star's. Draws nothing without
// records.
void DrawStarField(StarCatalogue& catalogue);

// Compiles the list without drawing, once records are loaded and no list exists yet.
void CompileStarField(StarCatalogue& catalogue);
