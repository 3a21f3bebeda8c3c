#include "scene/lens_flares.h"

#include <cstdio>

#include "scene/cover_list.h"
#include "scene/gl.h"
#include "scene/picture_cover.h"
#include "scene/picture_loader.h"

SceneLoadResult LensFlares::Load(PictureLoader& loader) {
  for (int index = 0; index < kFlarePictureCount; ++index) {
    char member[32];
    std::snprintf(member, sizeof member, "flare%d.jpg", index + 1);
    Image image;
    const SceneLoadResult read = loader.Read(member, &image);
    if (!read) return read;
    FlarePicture& picture = pictures[index];
    picture.texture = loader.Texture(image, Wrap::Clamp);
    // The limb mask multiplies what lies under it; every other picture adds light. Where
    // clamping reads the black border (OpenGL 1.1), the mask darkens its square's rim too,
    // so it stays whole.
    const bool multiplies = index == kLimbMask;
    if (!multiplies || PictureLoader::ClampsToEdge())
      picture.cover = CompileCoverList(CoverOf(image, multiplies ? PictureBlend::Multiplies : PictureBlend::Adds));
    loader.Keep(image);
  }
  return SceneLoadResult::Ok();
}

void LensFlares::Release() {
  for (FlarePicture& picture : pictures) {
    picture.texture.Release();
    picture.cover.Release();
  }
}

SunVisibility TestSunVisibility(const double sun[3], const SunOccluders& occluders) {
  SunVisibility result;
  // Matrices and viewport are state the library keeps on the processor: asking for them
  // waits for no drawing.
  GLdouble modelview[16], projection[16];
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  GLdouble wx = 0.0, wy = 0.0, wz = 2.0;
  if (gluProject(sun[0], sun[1], sun[2], modelview, projection, viewport, &wx, &wy, &wz) != GL_TRUE) return result;
  // The viewport's origin is (0, 0), where the scene always puts it.
  const int width = viewport[2], height = viewport[3];
  result.image = SunImageFromWindow(wx, wy, wz, width, height);
  if (!result.image.inFront) return result;

  RingSample samples[kRingSampleCount];
  result.samples = RingSamplePixels(result.image.ndcX, result.image.ndcY, width, height, samples);
  for (int i = 0; i < result.samples; ++i) {
    // Depth is sampled at the pixel's centre.
    const double x = samples[i].x + 0.5, y = samples[i].y + 0.5;
    SightLine line;
    if (gluUnProject(x, y, 0.0, modelview, projection, viewport, &line.from[0], &line.from[1], &line.from[2]) !=
            GL_TRUE ||
        gluUnProject(x, y, wz, modelview, projection, viewport, &line.to[0], &line.to[1], &line.to[2]) != GL_TRUE)
      continue;
    if (!occluders.Hides(line)) ++result.visible;
  }
  return result;
}

void DrawLensFlares(const LensFlares& flares, const double sun[3], const SunOccluders& occluders) {
  const SunVisibility visibility = TestSunVisibility(sun, occluders);
  if (!visibility.image.inFront || visibility.visible == 0) return;

  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  const double aspect = static_cast<double>(viewport[2]) / viewport[3];
  FlareQuad quads[kFlareElementCount + 1];
  const int count =
      FlareQuads(visibility.image.ndcX, visibility.image.ndcY, visibility.fraction(), aspect, quads);
  for (int i = 0; i < count; ++i) {
    const FlareQuad& q = quads[i];
    const FlarePicture& picture = flares.pictures[q.textureIndex];
    DrawFlareQuad(q.x, q.y, q.angle, q.cornerX, q.cornerY, q.alpha, picture.texture.name(), q.red, q.green, q.blue,
                  picture.cover.name());
  }
}

void DrawFlareQuad(double x, double y, double angle, double cornerX, double cornerY, double alpha,
                   unsigned int texture, float red, float green, float blue, unsigned int cover) {
  // Identity matrices: the corners are given in normalised device coordinates.
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();

  glPushAttrib(GL_CURRENT_BIT | GL_POINT_BIT | GL_POLYGON_STIPPLE_BIT | GL_PIXEL_MODE_BIT | GL_LIGHTING_BIT |
               GL_FOG_BIT | GL_DEPTH_BUFFER_BIT | GL_ACCUM_BUFFER_BIT | GL_VIEWPORT_BIT | GL_ENABLE_BIT);
  glDisable(GL_LIGHTING);
  glEnable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // flares add light
  glBindTexture(GL_TEXTURE_2D, texture);

  FlareCorner corners[4];
  FlareQuadCorners(x, y, angle, cornerX, cornerY, corners);
  glColor4f(red, green, blue, static_cast<float>(alpha));
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  if (cover != 0 && FlareQuadPixels(corners, viewport[2], viewport[3]) >= kCoveredQuadPixels) {
    // The cover's unit square mapped onto the quad: (s, t) goes to the (0, 0) corner plus s
    // times the edge to the (1, 0) corner plus t times the edge to the (0, 1) corner.
    const FlareCorner& origin = corners[3];
    const GLdouble place[16] = {corners[0].x - origin.x, corners[0].y - origin.y, 0.0, 0.0,
                                corners[2].x - origin.x, corners[2].y - origin.y, 0.0, 0.0,
                                0.0, 0.0, 1.0, 0.0,
                                origin.x, origin.y, -1.0, 1.0};
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(place);
    glCallList(cover);
    glMatrixMode(GL_PROJECTION);
  } else {
    glBegin(GL_QUADS);
    for (const FlareCorner& corner : corners) {
      glTexCoord2d(corner.s, corner.t);
      glVertex3d(corner.x, corner.y, -1.0);
    }
    glEnd();
  }

  glPopAttrib();
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}
