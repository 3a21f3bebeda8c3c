#include "scene/moon.h"

#include <cmath>

#include "scene/gl.h"
#include "scene/shape_mesh.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
}

void MoonPosition(double sceneTime, double position[3]) {
  const double angle = sceneTime * kMoonOrbitDegreesPerTime * kPi / 180.0;
  position[0] = kMoonOrbitRadius * std::cos(angle);
  position[1] = kMoonOrbitRadius * std::sin(angle);
  position[2] = 0.0;
}

void DrawMoon(ShapeMesh& shape, unsigned int texture, double sceneTime) {
  double position[3];
  MoonPosition(sceneTime, position);
  glTranslated(position[0], position[1], position[2]);
  glRotated(kMoonSpinDegreesPerTime * sceneTime, 0.0, 0.0, 1.0);
  glBindTexture(GL_TEXTURE_2D, texture);
  glDisable(GL_BLEND);
  glEnable(GL_CULL_FACE);
  // The scale shrinks the normals too; GL_NORMALIZE gives them back their unit length so
  // that the moon is lit like the planet.
  glEnable(GL_NORMALIZE);
  glEnable(GL_TEXTURE_2D);
  glScalef(kMoonScale, kMoonScale, kMoonScale);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  shape.Draw();
  glDisable(GL_NORMALIZE);
}
