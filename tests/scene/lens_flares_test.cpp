// The lens flare off screen: which ring samples see the sun past a body's limb or past the
// stars, and what is drawn for a sun in view, covered or behind the eye.
#include "scene/lens_flares.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "scene/cover_list.h"
#include "scene/gl.h"
#include "scene/star_field.h"
#include "tests/support/offscreen_gl.h"

namespace {

constexpr double kSun[3] = {400.0, 400.0, 100.0};
constexpr double kPi = 3.14159265358979323846;

class LensFlareTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok()) << "no off-screen OpenGL context";
    glViewport(0, 0, gl.width(), gl.height());
    glClearColor(0, 0, 0, 0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(gl.width()) / gl.height(), static_cast<double>(0.01f), 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }

  // The eye at the origin looking at `target` with +z up.
  void LookAt(double x, double y, double z) {
    glLoadIdentity();
    gluLookAt(0, 0, 0, x, y, z, 0, 0, 1);
  }
  // The eye at the origin, the sun's image at the given normalised device position: the
  // view is turned so that the sun's direction in eye space becomes the one that projects
  // there.
  void PutSunAt(double ndcX, double ndcY) {
    LookAt(kSun[0], kSun[1], kSun[2]);
    GLdouble modelview[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    const double halfHeight = std::tan(45.0 / 2 * kPi / 180);
    const double aspect = static_cast<double>(gl.width()) / gl.height();
    const double ex = ndcX * halfHeight * aspect, ey = ndcY * halfHeight;
    const double length = std::sqrt(ex * ex + ey * ey + 1.0);
    glLoadIdentity();
    // (0, 0, -1) onto (ex, ey, -1): about their cross product by the angle between them.
    if (ex != 0.0 || ey != 0.0) glRotated(std::acos(1.0 / length) * 180 / kPi, ey, -ex, 0.0);
    glMultMatrixd(modelview);
  }

  // Draws a rectangle in normalised device coordinates at window depth (z + 1) / 2, writing
  // depth and grey colour, without touching the model-view of the camera.
  void Occluder(double x0, double y0, double x1, double y1, double z) {
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glColor3f(0.2f, 0.2f, 0.2f);
    glBegin(GL_QUADS);
    glVertex3d(x0, y0, z);
    glVertex3d(x1, y0, z);
    glVertex3d(x1, y1, z);
    glVertex3d(x0, y1, z);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
  }

  // The occluders: none, or the planet's surface grid at `centre` (unit radius).
  SunOccluders Nothing() { return SunOccluders(noGrid, kOrigin, noShape, kOrigin); }
  SunOccluders GridAt(const double centre[3]) {
    grid.Build(1.0, 31, 21);
    return SunOccluders(grid, BodyPlacement{{centre[0], centre[1], centre[2]}, 0.0, 1.0}, noShape, kOrigin);
  }

  int LitPixels() {
    int lit = 0;
    for (uint32_t p : gl.pixels()) lit += (p & 0xffffffu) != 0;
    return lit;
  }

  static constexpr BodyPlacement kOrigin{{0.0, 0.0, 0.0}, 0.0, 1.0};
  SphereMesh noGrid, grid;
  ShapeMesh noShape;
  LensFlares flares;  // never loaded: the flare draws untextured quads
  OffscreenGl gl{200, 150};
};

TEST_F(LensFlareTest, SunInViewWithNothingInFrontIsFullyVisible) {
  PutSunAt(0.3, -0.2);
  const SunVisibility v = TestSunVisibility(kSun, Nothing());
  ASSERT_TRUE(v.image.inFront);
  EXPECT_NEAR(v.image.ndcX, 0.3, 1e-6);
  EXPECT_NEAR(v.image.ndcY, -0.2, 1e-6);
  EXPECT_EQ(v.samples, 128);
  EXPECT_EQ(v.visible, 128);
  DrawLensFlares(flares, kSun, Nothing());
  EXPECT_GT(LitPixels(), gl.width() * gl.height() / 4) << "the flare lights much of the screen";
}

TEST_F(LensFlareTest, LimbThroughTheSunGivesHalfStrength) {
  // A body of radius 1 at distance 5, its centre turned off the line of sight by its
  // angular radius: its limb passes through the sun's image.
  PutSunAt(0.0, 0.0);
  const double length = std::sqrt(kSun[0] * kSun[0] + kSun[1] * kSun[1] + kSun[2] * kSun[2]);
  const double d[3] = {kSun[0] / length, kSun[1] / length, kSun[2] / length};
  double side[3] = {-d[1], d[0], 0.0};  // horizontal, perpendicular to the line of sight
  const double sideLength = std::hypot(side[0], side[1]);
  side[0] /= sideLength;
  side[1] /= sideLength;
  const double alpha = std::asin(1.0 / 5.0);
  const double centre[3] = {5 * (std::cos(alpha) * d[0] + std::sin(alpha) * side[0]),
                            5 * (std::cos(alpha) * d[1] + std::sin(alpha) * side[1]), 5 * std::cos(alpha) * d[2]};
  const SunVisibility v = TestSunVisibility(kSun, GridAt(centre));
  EXPECT_NEAR(v.fraction(), 0.5, 0.05) << v.visible << " visible samples with the limb through the sun";
}

TEST_F(LensFlareTest, StarsBeyondTheSunHideNoneOfIt) {
  // A star drawn on the line of sight through the first sample's pixel centre: the sky's
  // sphere lies nearer than the sun, the stars themselves far beyond it.
  PutSunAt(0.0, 0.0);
  const SunVisibility clear = TestSunVisibility(kSun, Nothing());
  ASSERT_EQ(clear.visible, 128);
  RingSample samples[kRingSampleCount];
  RingSamplePixels(clear.image.ndcX, clear.image.ndcY, gl.width(), gl.height(), samples);
  GLdouble modelview[16], projection[16], x, y, z;
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  gluUnProject(samples[0].x + 0.5, samples[0].y + 0.5, 0.5, modelview, projection, viewport, &x, &y, &z);
  const double length = std::sqrt(x * x + y * y + z * z);
  const double declination = std::asin(z / length) / kPi * 100.0;
  const double rightAscension = std::atan2(y, x) / (2 * kPi) * 100.0;
  std::vector<StarRecord> records = {StarRecord{rightAscension, declination, 6.0, 2}};
  StarCatalogue catalogue;
  catalogue.records = records.data();
  catalogue.count = 1;
  DrawStarField(catalogue);
  EXPECT_NE(gl.Pixel(samples[0].x, samples[0].y) & 0xffffffu, 0u) << "the star lies on the sample's pixel";
  EXPECT_EQ(TestSunVisibility(kSun, Nothing()).visible, 128);
}

TEST_F(LensFlareTest, CoveredSunDrawsNothing) {
  PutSunAt(0.1, 0.1);
  const double length = std::sqrt(kSun[0] * kSun[0] + kSun[1] * kSun[1] + kSun[2] * kSun[2]);
  const double nearEye[3] = {3 * kSun[0] / length, 3 * kSun[1] / length, 3 * kSun[2] / length};
  const SunOccluders body = GridAt(nearEye);
  const std::vector<uint32_t> before = gl.pixels();
  EXPECT_EQ(TestSunVisibility(kSun, body).visible, 0);
  DrawLensFlares(flares, kSun, body);
  EXPECT_TRUE(before == gl.pixels()) << "a wholly covered sun leaves the picture alone";
}

TEST_F(LensFlareTest, SunBehindTheEyeDrawsNothingEvenWhereItsProjectionLands) {
  LookAt(-kSun[0], -kSun[1], -kSun[2]);  // the sun straight behind: it projects onto the centre
  const SunVisibility v = TestSunVisibility(kSun, Nothing());
  EXPECT_FALSE(v.image.inFront);
  DrawLensFlares(flares, kSun, Nothing());
  EXPECT_EQ(LitPixels(), 0);
}

TEST_F(LensFlareTest, FlareQuadCoversItsCornersAndRestoresState) {
  glEnable(GL_LIGHTING);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  LookAt(1, 0, 0);
  GLdouble modelview[16], projection[16], after[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  Occluder(-1, -1, 1, 1, -0.5);  // depth everywhere nearer than the quad's z = -1: no depth test
  glClear(GL_COLOR_BUFFER_BIT);

  // A square of half-diagonal 0.4 at (0.2, -0.1), turned so that its corners point along
  // the axes (angle 0): a diamond.
  DrawFlareQuad(0.2, -0.1, 0.0, 0.4, 0.4, 1.0, 0, 1.0f, 0.5f, 0.25f);
  auto at = [&](double ndcX, double ndcY) {
    return gl.Pixel(static_cast<int>((ndcX + 1) * 0.5 * gl.width()), static_cast<int>((ndcY + 1) * 0.5 * gl.height()));
  };
  EXPECT_EQ(OffscreenGl::Red(at(0.2, -0.1)), 255) << "the centre, despite culling and the nearer depth";
  EXPECT_NEAR(OffscreenGl::Green(at(0.2, -0.1)), 128, 1);
  EXPECT_NE(at(0.55, -0.1) & 0xffffffu, 0u) << "inside, near the (1, 0) corner";
  EXPECT_EQ(at(0.55, 0.2) & 0xffffffu, 0u) << "outside the diamond";

  glGetDoublev(GL_MODELVIEW_MATRIX, after);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], modelview[i]) << "model-view element " << i;
  glGetDoublev(GL_PROJECTION_MATRIX, after);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], projection[i]) << "projection element " << i;
  GLint mode = 0, source = 0, destination = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  glGetIntegerv(GL_BLEND_SRC, &source);
  glGetIntegerv(GL_BLEND_DST, &destination);
  EXPECT_EQ(source, GL_SRC_ALPHA) << "the blend function stays as the quad set it";
  EXPECT_EQ(destination, GL_ONE);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(LensFlareTest, ALargeQuadDrawsOnlyItsCoverAndRestoresTheMatrices) {
  LookAt(1, 0, 0);
  GLdouble modelview[16], after[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
  glClear(GL_COLOR_BUFFER_BIT);
  // The half of the unit square below its diagonal from (0, 0) to (1, 1).
  PictureCover half;
  half.whole = false;
  half.triangles = {{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}};
  GlList cover = CompileCoverList(half);
  ASSERT_TRUE(cover);
  // Angle 0: the (0, 0) corner straight below the centre, (1, 0) to its right, (1, 1) above.
  const double corner = 1.2;
  FlareCorner corners[4];
  FlareQuadCorners(0.0, 0.0, 0.0, corner, corner, corners);
  ASSERT_GE(FlareQuadPixels(corners, gl.width(), gl.height()), kCoveredQuadPixels);
  DrawFlareQuad(0.0, 0.0, 0.0, corner, corner, 1.0, 0, 1.0f, 1.0f, 1.0f, cover.name());
  auto at = [&](double ndcX, double ndcY) {
    return gl.Pixel(static_cast<int>((ndcX + 1) * 0.5 * gl.width()), static_cast<int>((ndcY + 1) * 0.5 * gl.height()));
  };
  EXPECT_EQ(OffscreenGl::Red(at(0.5, 0.0)), 255) << "right of the centre: inside the cover";
  EXPECT_EQ(at(-0.5, 0.0) & 0xffffffu, 0u) << "left of the centre: outside it";
  glGetDoublev(GL_MODELVIEW_MATRIX, after);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], modelview[i]) << "model-view element " << i;
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  cover.Release();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
