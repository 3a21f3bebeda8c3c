#include "scene/moon.h"

#include <cmath>
#include <string>

#include "resources/resource_pak.h"
#include "scene/gl.h"
#include "scene/picture_loader.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr char kShapeMember[] = "phobos2.dat";
}  // namespace

SceneLoadResult Moon::Load(PictureLoader& loader) {
  Image image;
  const SceneLoadResult read = loader.Read("phobos2.jpg", &image);
  if (!read) return read;
  texture = loader.MipmappedTexture(image);
  loader.Keep(image);

  ByteBuffer bytes;
  const int32_t length = loader.pak().Extract(kShapeMember, &bytes);
  if (length <= 0) return SceneLoadResult::Fail(SceneLoadError::ShapeUnreadable, loader.pak().LastResult().reason());
  if (!shape.Load(bytes.get(), static_cast<size_t>(length)))
    return SceneLoadResult::Fail(SceneLoadError::ShapeUnreadable, std::string("Refused shape \"") + kShapeMember +
                                                                      "\" (" + std::to_string(length) + " bytes)");
  return SceneLoadResult::Ok();
}

void Moon::Release() {
  texture.Release();
  shape.Release();
}

void MoonPosition(double sceneTime, double position[3]) {
  const double angle = sceneTime * kMoonOrbitDegreesPerTime * kPi / 180.0;
  position[0] = kMoonOrbitRadius * std::cos(angle);
  position[1] = kMoonOrbitRadius * std::sin(angle);
  position[2] = 0.0;
}

void DrawMoon(Moon& moon, double sceneTime) {
  double position[3];
  MoonPosition(sceneTime, position);
  glTranslated(position[0], position[1], position[2]);
  glRotated(kMoonSpinDegreesPerTime * sceneTime, 0.0, 0.0, 1.0);
  moon.texture.Bind();
  glDisable(GL_BLEND);
  glEnable(GL_CULL_FACE);
  // The scale shrinks the normals too; GL_NORMALIZE gives them back their unit length so
  // that the moon is lit like the planet.
  glEnable(GL_NORMALIZE);
  glEnable(GL_TEXTURE_2D);
  glScalef(kMoonScale, kMoonScale, kMoonScale);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  moon.shape.Draw();
  glDisable(GL_NORMALIZE);
}
