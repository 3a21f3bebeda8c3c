#pragma once
// The star field: every catalogue star as a smoothed, coloured point of graded size on a
// sphere of radius 350 around the planet. A frame sends only the stars that can reach into
// its view, in catalogue order: the same points land on the same pixels in the same order
// as if every star were sent, while a software renderer no longer transforms and clips the
// nine tenths of the sky that lie outside the view on every frame.
#include "scene/star_catalogue.h"

inline constexpr double kStarSphereRadius = 350.0;

StarPoint StarPointFor(const StarRecord& star);

// Whether a point of `size` pixels whose clip coordinates are `clip` can light a pixel of a
// viewport of `width` x `height`: in front of the eye and, widened by its size and a pixel
// of rounding, inside the view volume. A point it refuses draws nothing.
bool StarMayShow(const double clip[4], double size, int width, int height);

// Right after the camera, with the model-view holding the camera only; leaves it as found
// and restores the attribute groups it saves. Leaves the blend function at
// (GL_SRC_ALPHA, GL_ONE) and the point size at the last star's
// sent. Draws nothing without
// records.
void DrawStarField(StarCatalogue& catalogue);

// Works out every record's point once, when records are loaded and not yet prepared.
void PrepareStarField(StarCatalogue& catalogue);
