#pragma once
// Eye-facing squares around a body and the glow along the planet's limb that lights up as
// the sun nears the planet's edge; plus the planet centre's depth in front of the eye.
#include "scene/flare_picture.h"

// |element 14| of the model-view matrix: how far in front of the eye the origin lies.
double EyeDepthOfOrigin();

// A square facing the eye, centred on `position`, half-width such that `size` 1 just covers
// a unit sphere there; turned `turn` degrees on the screen; colour (1, 1, 1, alpha). Draws
// with the caller's texture and blend function, without depth test, lighting or culling.
// Nothing is drawn when the eye lies within one unit of `position`. With a `cover` list
// (scene/cover_list.h) of the texture, only the cover of the square is drawn.
void DrawHaloBillboard(const double position[3], double size, double alpha, double turn, unsigned int cover = 0);

// The two glow squares over a sphere (centre, radius) for a sun at `sun`, in world units on
// the current model-view matrix: the glow picture and its crescent. Nothing when the sun
// lies behind the eye. Leaves the blend function at (GL_SRC_ALPHA, GL_ONE) when it draws.
void DrawLimbGlare(const FlarePicture& glow, const FlarePicture& crescent, const double centre[3], double radius,
                   const double sun[3]);

// Half-width of the billboard for `size` with the eye at squared distance d2 (> 1).
double HaloHalfWidth(double size, double d2);
