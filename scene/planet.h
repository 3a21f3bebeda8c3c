#pragma once
// The planet: the textured surface with a pale haze towards the horizon, two thin cloud
// shells (an inner one that darkens the ground under the clouds, an outer one that adds
// their light) and a mask that darkens the limb.
struct Scene;

// On the model-view holding the camera and the planet's spin; returns it unchanged.
// Builds the surface grid on its first call. Leaves blending off, the depth test on and
// the blend function at (GL_DST_COLOR, GL_ZERO).
void DrawPlanet(Scene& scene);

// Linear fog over the last 0.67 units before the horizon of a unit sphere whose centre lies
// `eyeDepth` in front of the eye: end sqrt(d^2 - 1), start end - 0.67. With the centre
// within one unit of the eye plane there is no such horizon and the fog stays off.
struct SurfaceFog {
  bool enabled;
  double start;
  double end;
};
SurfaceFog SurfaceFogFor(double eyeDepth);
