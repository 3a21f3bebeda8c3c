#include "scene/planet.h"

#include <cmath>

#include "scene/gl.h"
#include "scene/limb_glow.h"
#include "scene/scene.h"
#include "scene/scene_lists.h"

namespace {

constexpr double kCloudDegreesPerTime = 0.5;  // on top of the surface's own spin

void ApplySurfaceFog() {
  const SurfaceFog fog = SurfaceFogFor(EyeDepthOfOrigin());
  if (!fog.enabled) return;
  const GLfloat haze[4] = {1.0f, 0.62f, 0.45f, 1.0f};
  glEnable(GL_FOG);
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glFogf(GL_FOG_END, static_cast<GLfloat>(fog.end));
  glFogf(GL_FOG_START, static_cast<GLfloat>(fog.start));
  glFogfv(GL_FOG_COLOR, haze);
}

// The shells' material: a warm specular highlight. It is never reset, so the moon and the
// surface from the second frame on are lit with it too.
void SetShellMaterial() {
  const GLfloat specular[4] = {0.6f, 0.5f, 0.4f, 1.0f};
  glMaterialf(GL_FRONT, GL_SHININESS, 80.0f);
  glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
}

void DrawCloudShells(const Scene& scene) {
  // Colour 2 doubles the reflectance through colour tracking, so the clouds stay bright.
  glColor4d(2.0, 2.0, 2.0, 2.0);
  // Inner shell: multiplies the ground by the inverted cloud map, the clouds' shadow.
  glBindTexture(GL_TEXTURE_2D, scene.textures.cloudShadowTexture);
  glBlendFunc(GL_DST_COLOR, GL_ZERO);
  DrawInnerShell(scene.lists);
  // Outer shell, a little higher: adds the clouds' light.
  glBindTexture(GL_TEXTURE_2D, scene.textures.atmosphereTexture);
  glBlendFunc(GL_ONE, GL_ONE);
  DrawOuterShell(scene.lists);
}

}  // namespace

SurfaceFog SurfaceFogFor(double eyeDepth) {
  if (!(eyeDepth > 1.0) || !std::isfinite(eyeDepth)) return {false, 0.0, 0.0};
  const double horizon = std::sqrt(eyeDepth * eyeDepth - 1.0);
  return {true, horizon - 0.67, horizon};
}

void DrawPlanet(Scene& scene) {
  glPushMatrix();

  ApplySurfaceFog();
  glColor3d(1.0, 1.0, 1.0);
  DrawSurface(scene);

  // The shells and the mask neither test nor write depth: only the surface is left in the
  // depth buffer for the lens flares' visibility test. Culling keeps their near halves.
  glDisable(GL_FOG);
  glEnable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  SetShellMaterial();
  glRotated(kCloudDegreesPerTime * scene.sceneTime, 0.0, 0.0, 1.0);
  DrawCloudShells(scene);

  // The limb mask: a multiplying square that darkens the disc towards its rim and draws a
  // thin dark outline at the limb.
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
  glBlendFunc(GL_DST_COLOR, GL_ZERO);
  glBindTexture(GL_TEXTURE_2D, scene.textures.flareTextures[kLimbMask]);
  const double origin[3] = {0.0, 0.0, 0.0};
  DrawHaloBillboard(origin, 1.054, 2.0, 0.0, scene.textures.flareCovers[kLimbMask]);

  glPopMatrix();
}
