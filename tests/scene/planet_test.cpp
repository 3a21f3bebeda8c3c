// The planet's closed forms and what its drawing routines hand to OpenGL: the inverted
// cloud copy, the horizon fog, the limb glow's strength as the sun nears the limb, the
// eye-facing square.
#include <cstddef>

#include "scene/planet.h"

#include <gtest/gtest.h>

#include <cmath>

#include <vector>

#include "scene/limb_glow.h"
#include "tests/scene/gl_feedback.h"
#include "tests/support/offscreen_gl.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(InvertedCloudCopyTest, GreyIs255MinusTheFlooredMean) {
  const uint8_t rgb[] = {10, 20, 31, 255, 255, 255, 0, 0, 0, 1, 1, 2};
  uint8_t out[12];
  InvertToGrey(rgb, 4, 3, out);
  const uint8_t expected[] = {235, 235, 235, 0, 0, 0, 255, 255, 255, 254, 254, 254};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(out[i], expected[i]) << "byte " << i << " (floor((1+1+2)/3) = 1)";
  // Four bytes a pixel: the alpha is skipped, the copy has three.
  const uint8_t rgba[] = {10, 20, 31, 99, 200, 100, 0, 7};
  uint8_t out2[6];
  InvertToGrey(rgba, 2, 4, out2);
  EXPECT_EQ(out2[0], 235);
  EXPECT_EQ(out2[3], 155) << "255 - floor(300 / 3)";
}

TEST(SurfaceFogTest, EndsAtTheHorizonDistance) {
  const SurfaceFog at3 = SurfaceFogFor(3.0);
  EXPECT_TRUE(at3.enabled);
  EXPECT_NEAR(at3.end, std::sqrt(8.0), 1e-12) << "about 2.828";
  EXPECT_NEAR(at3.start, std::sqrt(8.0) - 0.67, 1e-12) << "about 2.158";
  for (double inside : {1.0, 0.6, 0.0, std::nan("")})
    EXPECT_FALSE(SurfaceFogFor(inside).enabled) << "no horizon for depth " << inside;
}

TEST(HaloHalfWidthTest, JustCoversAUnitSphere) {
  // From distance D, a unit sphere's silhouette meets the plane through its centre at
  // radius D / sqrt(D^2 - 1).
  EXPECT_NEAR(HaloHalfWidth(1.0, 4.0), 2.0 / std::sqrt(3.0), 1e-12);
  EXPECT_NEAR(HaloHalfWidth(1.054, 9.0), 1.054 * 3.0 / std::sqrt(8.0), 1e-12);
}

// A perspective camera on a 200 x 150 off-screen context.
class PlanetDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok()) << "no off-screen OpenGL context";
    glViewport(0, 0, 200, 150);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 200.0 / 150.0, 0.01, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
  }
  void LookAt(const double eye[3], const double target[3], const double up[3] = kUp) {
    glLoadIdentity();
    gluLookAt(eye[0], eye[1], eye[2], target[0], target[1], target[2], up[0], up[1], up[2]);
  }
  // World position of a window point under the current matrices.
  static void Unproject(const gl_feedback::Vertex& v, double world[3]) {
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluUnProject(v.x, v.y, v.z, model, projection, viewport, &world[0], &world[1], &world[2]);
  }
  static const gl_feedback::Vertex* WithTexCoord(const gl_feedback::Polygon& quad, float s, float t) {
    for (const gl_feedback::Vertex& v : quad.vertices)
      if (v.stpq[0] == s && v.stpq[1] == t) return &v;
    return nullptr;
  }
  // The square's quad: the feedback splits it into triangles; gather its distinct corners.
  static gl_feedback::Polygon Corners(const gl_feedback::Result& result, size_t first, size_t count) {
    gl_feedback::Polygon corners;
    for (size_t p = first; p < first + count && p < result.polygons.size(); ++p)
      for (const gl_feedback::Vertex& v : result.polygons[p].vertices)
        if (!WithTexCoord(corners, v.stpq[0], v.stpq[1])) corners.vertices.push_back(v);
    return corners;
  }

  static constexpr double kUp[3] = {0, 1, 0};
  static constexpr double kOrigin[3] = {0, 0, 0};
  OffscreenGl gl{200, 150};
};

TEST_F(PlanetDrawTest, EyeDepthOfOriginIsTheDistanceAlongTheViewAxis) {
  const double eye[3] = {0, 0, 3};
  LookAt(eye, kOrigin);
  EXPECT_NEAR(EyeDepthOfOrigin(), 3.0, 1e-12);
  const double sideways[3] = {1, 0, 0};
  LookAt(eye, sideways);
  EXPECT_NEAR(EyeDepthOfOrigin(), 3.0 * std::cos(std::atan(1.0 / 3.0)), 1e-6) << "looking past the centre (matrix in floats)";
}

TEST_F(PlanetDrawTest, SurfaceFogForACameraThreeUnitsAway) {
  Planet planet;
  const FlarePicture limbMask;
  const double eye[3] = {3, 0, 0};
  const double up[3] = {0, 0, 1};
  LookAt(eye, kOrigin, up);
  DrawPlanet(planet, limbMask, 28659.0);
  GLfloat start = 0, end = 0;
  glGetFloatv(GL_FOG_START, &start);
  glGetFloatv(GL_FOG_END, &end);
  EXPECT_NEAR(end, 2.828f, 1e-3f);
  EXPECT_NEAR(start, 2.158f, 1e-3f);
  GLint mode = 0;
  glGetIntegerv(GL_FOG_MODE, &mode);
  EXPECT_EQ(mode, GL_LINEAR);
  GLfloat colour[4];
  glGetFloatv(GL_FOG_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[1], 0.62f) << "a pale orange haze";
  EXPECT_FALSE(glIsEnabled(GL_FOG)) << "only the surface is fogged";
}

TEST_F(PlanetDrawTest, PlanetSendsTheSurfaceTwoShellsAndTheMask) {
  Planet planet;
  const FlarePicture limbMask;
  const double eye[3] = {0, -50, 10};  // far enough that culling leaves almost half of each sphere
  LookAt(eye, kOrigin);
  const gl_feedback::Result result = gl_feedback::Capture([&] { DrawPlanet(planet, limbMask, 28659.0); });
  ASSERT_FALSE(result.overflow);
  // Surface 2400 quads, each shell 60 x 40 = 2400, two triangles a quad, about half facing
  // the eye; the mask is one square.
  const size_t all = 3 * 2400 * 2;
  EXPECT_GT(result.polygons.size(), all * 45 / 100);
  EXPECT_LT(result.polygons.size(), all * 52 / 100);
  const gl_feedback::Polygon& last = result.polygons.back();
  EXPECT_FLOAT_EQ(last.vertices[0].rgba[3], 1.0f) << "the mask's alpha 2 arrives clamped";
}

TEST_F(PlanetDrawTest, BillboardFacesTheEyeAndJustCoversTheSphere) {
  const double eye[3] = {3, 1, 2};
  LookAt(eye, kOrigin);
  const double p[3] = {0.5, 0.3, -0.2};
  glDisable(GL_CULL_FACE);
  const gl_feedback::Result result = gl_feedback::Capture([&] { DrawHaloBillboard(p, 0.2, 0.7, 0.0); });
  ASSERT_FALSE(result.polygons.empty());
  const gl_feedback::Polygon corners = Corners(result, 0, result.polygons.size());
  ASSERT_EQ(corners.vertices.size(), 4u);
  double w[4][3];
  const float order[4][2] = {{1, 0}, {1, 1}, {0, 1}, {0, 0}};
  for (int k = 0; k < 4; ++k) {
    const gl_feedback::Vertex* v = WithTexCoord(corners, order[k][0], order[k][1]);
    ASSERT_NE(v, nullptr);
    Unproject(*v, w[k]);
    EXPECT_FLOAT_EQ(v->rgba[3], 0.7f) << "alpha";
  }
  const double toP[3] = {p[0] - eye[0], p[1] - eye[1], p[2] - eye[2]};
  const double d = std::sqrt(toP[0] * toP[0] + toP[1] * toP[1] + toP[2] * toP[2]);
  double centre[3], e1[3], e2[3];
  for (int i = 0; i < 3; ++i) {
    centre[i] = (w[0][i] + w[1][i] + w[2][i] + w[3][i]) / 4;
    e1[i] = w[1][i] - w[0][i];
    e2[i] = w[3][i] - w[0][i];
    EXPECT_NEAR(centre[i], p[i], 1e-4) << "centred on the position, axis " << i;
  }
  const double normal[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
  const double nn = std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
  const double facing = (normal[0] * toP[0] + normal[1] * toP[1] + normal[2] * toP[2]) / (nn * d);
  EXPECT_NEAR(std::fabs(facing), 1.0, 1e-6) << "the square is perpendicular to the line of sight";
  const double side = std::sqrt(e1[0] * e1[0] + e1[1] * e1[1] + e1[2] * e1[2]);
  EXPECT_NEAR(side / 2, HaloHalfWidth(0.2, d * d), 1e-4) << "half-width size / sqrt(1 - 1/D^2)";
  // Turn 0: the edge from texture (1, 0) to (1, 1) points straight up on the screen.
  const gl_feedback::Vertex* a = WithTexCoord(corners, 1, 0);
  const gl_feedback::Vertex* b = WithTexCoord(corners, 1, 1);
  EXPECT_NEAR(std::atan2(b->y - a->y, b->x - a->x) * 180 / kPi, 90.0, 0.5);
}

// The glow's two squares for a sun seen `degrees` away from the planet's centre by an eye 2
// units from it, where the planet's apparent radius is asin(1 / 2) = 30 degrees: their
// alphas in drawing order.
std::vector<float> GlowAlphasForSunAt(double degrees) {
  const double eye[3] = {2, 0, 0};
  const double up[3] = {0, 0, 1};
  glLoadIdentity();
  gluLookAt(eye[0], eye[1], eye[2], 0, 0, 0, up[0], up[1], up[2]);
  // 400 units from the eye, turned from the line of sight towards +y.
  const double angle = degrees * kPi / 180.0;
  const double sun[3] = {eye[0] - 400.0 * std::cos(angle), 400.0 * std::sin(angle), 0.0};
  const FlarePicture glow, crescent;
  const double origin[3] = {0, 0, 0};
  const gl_feedback::Result result = gl_feedback::Capture([&] { DrawLimbGlare(glow, crescent, origin, 1.0, sun); });
  std::vector<float> alphas;
  for (const gl_feedback::Polygon& polygon : result.polygons)
    if (alphas.empty() || alphas.back() != polygon.vertices[0].rgba[3]) alphas.push_back(polygon.vertices[0].rgba[3]);
  return alphas;
}

TEST_F(PlanetDrawTest, LimbGlowGrowsAsTheSunNearsTheLimb) {
  // k = 0, the sun right behind the centre: 0.15 / 0 held to 0.5, and 0.12 / |0 - 1|.
  std::vector<float> alphas = GlowAlphasForSunAt(0.0);
  ASSERT_EQ(alphas.size(), 2u);
  EXPECT_NEAR(alphas[0], 0.5f, 1e-3f);
  EXPECT_NEAR(alphas[1], 0.12f, 1e-3f);
  // k = 1/2, inside the disc: 0.15 / 0.5 and 0.12 / 0.5.
  alphas = GlowAlphasForSunAt(15.0);
  ASSERT_EQ(alphas.size(), 2u);
  EXPECT_NEAR(alphas[0], 0.3f, 1e-3f);
  EXPECT_NEAR(alphas[1], 0.24f, 1e-3f);
  // k = 1, on the limb: the crescent at full strength.
  alphas = GlowAlphasForSunAt(30.0);
  ASSERT_EQ(alphas.size(), 2u);
  EXPECT_NEAR(alphas[0], 0.15f, 1e-3f);
  EXPECT_FLOAT_EQ(alphas[1], 1.0f);
  // k = 2, beyond the limb: 0.15 / 2 and 0.2 / |2 - 1|.
  alphas = GlowAlphasForSunAt(60.0);
  ASSERT_EQ(alphas.size(), 2u);
  EXPECT_NEAR(alphas[0], 0.075f, 1e-3f);
  EXPECT_NEAR(alphas[1], 0.2f, 1e-3f);
}

TEST_F(PlanetDrawTest, SunBehindTheCameraDrawsNoGlow) {
  const FlarePicture glow, crescent;
  const double sun[3] = {400, 400, 100};
  const double eye[3] = {1.5, 1.5, 0.4};  // between the planet and the sun, looking at the planet
  LookAt(eye, kOrigin);
  const gl_feedback::Result result =
      gl_feedback::Capture([&] { DrawLimbGlare(glow, crescent, kOrigin, 1.0, sun); });
  EXPECT_EQ(result.values, 0u);
}

}  // namespace
