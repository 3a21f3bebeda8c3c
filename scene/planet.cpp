#include "scene/planet.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "resources/byte_buffer.h"
#include "scene/gl.h"
#include "scene/limb_glow.h"
#include "scene/picture_loader.h"
#include "scene/quadric_sphere.h"

namespace {

constexpr double kCloudDegreesPerTime = 0.5;  // on top of the surface's own spin
constexpr double kInnerShellRadius = 1.0;
constexpr double kOuterShellRadius = 1.007;

// The top row of the cloud picture lies at the south pole (scene/quadric_sphere.h).
void SendInnerShell() { SendQuadricSphere(kInnerShellRadius, 60, 40, true); }
void SendOuterShell() { SendQuadricSphere(kOuterShellRadius, 60, 40, true); }

void BuildSurfaceGrid(Planet& planet) {
  if (!planet.planetMeshPending) return;
  planet.planetMesh.Build(1.0, 31, 21);  // an empty mesh just draws no surface
  planet.planetMeshPending = false;
}

void SendSurface(const Planet& planet) {
  unsigned int textures[4];
  for (int i = 0; i < 4; ++i) textures[i] = planet.surfaceTextures[i].name();
  planet.planetMesh.Draw(textures);
}

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

void DrawCloudShells(Planet& planet) {
  // Colour 2 doubles the reflectance through colour tracking, so the clouds stay bright.
  glColor4d(2.0, 2.0, 2.0, 2.0);
  // Inner shell: multiplies the ground by the inverted cloud map, the clouds' shadow.
  planet.cloudShadowTexture.Bind();
  glBlendFunc(GL_DST_COLOR, GL_ZERO);
  planet.innerShell.Draw(SendInnerShell);
  // Outer shell, a little higher: adds the clouds' light.
  planet.atmosphereTexture.Bind();
  glBlendFunc(GL_ONE, GL_ONE);
  planet.outerShell.Draw(SendOuterShell);
}

}  // namespace

SceneLoadResult Planet::Load(PictureLoader& loader) {
  // The atmosphere and, from the same pixels, its inverted grey copy for the inner shell.
  Image image;
  SceneLoadResult read = loader.Read("atmos.jpg", &image);
  if (!read) return read;
  atmosphereTexture = loader.Texture(image, Wrap::Repeat);
  const size_t pixelCount = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
  Image inverted;
  inverted.bitsPerPixel = 24;
  inverted.width = image.width;
  inverted.height = image.height;
  inverted.pixels = AllocateBytes(pixelCount * 3);
  if (!inverted.pixels) {
    loader.Keep(image);
    return SceneLoadResult::Fail(SceneLoadError::PictureMemory,
                                 "no memory for the inverted copy of \"atmos.jpg\" (" + std::to_string(pixelCount) +
                                     " pixels)");
  }
  InvertToGrey(image.pixels.get(), pixelCount, image.bitsPerPixel / 8, inverted.pixels.get());
  loader.Keep(image);
  cloudShadowTexture = loader.Texture(inverted, Wrap::Repeat);
  loader.Keep(inverted);

  for (int n = 0; n <= 3; ++n) {
    char member[32];
    std::snprintf(member, sizeof member, "surface%d.jpg", n);
    Image surfaceImage;
    read = loader.Read(member, &surfaceImage);
    if (!read) return read;
    surfaceTextures[n] = loader.Texture(surfaceImage, Wrap::Clamp);
    loader.Keep(surfaceImage);
  }
  return SceneLoadResult::Ok();
}

void Planet::Compile() {
  innerShell.Compile(SendInnerShell);
  outerShell.Compile(SendOuterShell);
  BuildSurfaceGrid(*this);
  surface.Compile([this] { SendSurface(*this); });
}

void Planet::Release() {
  for (GlTexture& texture : surfaceTextures) texture.Release();
  atmosphereTexture.Release();
  cloudShadowTexture.Release();
  surface.Release();
  innerShell.Release();
  outerShell.Release();
}

SurfaceFog SurfaceFogFor(double eyeDepth) {
  if (!(eyeDepth > 1.0) || !std::isfinite(eyeDepth)) return {false, 0.0, 0.0};
  const double horizon = std::sqrt(eyeDepth * eyeDepth - 1.0);
  return {true, horizon - 0.67, horizon};
}

void InvertToGrey(const uint8_t* rgb, size_t pixelCount, int bytesPerPixel, uint8_t* out) {
  const size_t stride = bytesPerPixel > 3 ? static_cast<size_t>(bytesPerPixel) : 3;
  for (size_t k = 0; k < pixelCount; ++k, rgb += stride, out += 3) {
    const int sum = rgb[0] + rgb[1] + rgb[2];
    const uint8_t value = static_cast<uint8_t>(255 - sum / 3);
    out[0] = out[1] = out[2] = value;
  }
}

void DrawPlanet(Planet& planet, const FlarePicture& limbMask, double sceneTime) {
  glPushMatrix();

  ApplySurfaceFog();
  glColor3d(1.0, 1.0, 1.0);
  BuildSurfaceGrid(planet);
  planet.surface.Draw([&planet] { SendSurface(planet); });

  // The shells and the mask neither test nor write depth: only the surface is left in the
  // depth buffer for the lens flares' visibility test. Culling keeps their near halves.
  glDisable(GL_FOG);
  glEnable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  SetShellMaterial();
  glRotated(kCloudDegreesPerTime * sceneTime, 0.0, 0.0, 1.0);
  DrawCloudShells(planet);

  // The limb mask: a multiplying square that darkens the disc towards its rim and draws a
  // thin dark outline at the limb.
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
  glBlendFunc(GL_DST_COLOR, GL_ZERO);
  limbMask.texture.Bind();
  const double origin[3] = {0.0, 0.0, 0.0};
  DrawHaloBillboard(origin, 1.054, 2.0, 0.0, limbMask.cover.name());

  glPopMatrix();
}
