// The planet's closed forms and what its drawing routines hand to OpenGL: the inverted
// cloud copy, the horizon fog, the limb glow's alphas and placement, the eye-facing square.
#include <cstddef>

#include "scene/planet.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scene/limb_glow.h"
#include "scene/scene.h"
#include "scene/scene_resources.h"
#include "tests/scene/gl_feedback.h"
#include "tests/support/fake_scene_host.h"
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

TEST(LimbGlowAlphaTest, ClosedFormsForKZeroOneAndTwo) {
  const GlowAlphas behind = LimbGlowAlphas(0.0);
  EXPECT_DOUBLE_EQ(behind.first, 0.5) << "0.15 / 0 held to 0.5";
  EXPECT_DOUBLE_EQ(behind.second, 0.12);
  const GlowAlphas onLimb = LimbGlowAlphas(1.0);
  EXPECT_DOUBLE_EQ(onLimb.first, 0.15);
  EXPECT_DOUBLE_EQ(onLimb.second, 1.0) << "full strength on the limb, no division by zero";
  const GlowAlphas twice = LimbGlowAlphas(2.0);
  EXPECT_DOUBLE_EQ(twice.first, 0.075);
  EXPECT_DOUBLE_EQ(twice.second, 0.2);
  EXPECT_DOUBLE_EQ(LimbGlowAlphas(0.5).second, 0.24) << "inside the disc: 0.12 / 0.5";
  EXPECT_DOUBLE_EQ(LimbGlowAlphas(1.0 + 1e-9).second, 1.0) << "held to 1 near the limb";
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
  static void Project(const double p[3], double window[3]) {
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(p[0], p[1], p[2], model, projection, viewport, &window[0], &window[1], &window[2]);
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
  Scene scene;
  const double eye[3] = {3, 0, 0};
  const double up[3] = {0, 0, 1};
  LookAt(eye, kOrigin, up);
  DrawPlanet(scene);
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
  Scene scene;
  const double eye[3] = {0, -50, 10};  // far enough that culling leaves almost half of each sphere
  LookAt(eye, kOrigin);
  const gl_feedback::Result result = gl_feedback::Capture([&] { DrawPlanet(scene); });
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

TEST_F(PlanetDrawTest, BillboardTurnsCounterClockwiseOnTheScreen) {
  const double eye[3] = {0, -4, 1};
  const double up[3] = {0, 0, 1};
  LookAt(eye, kOrigin, up);
  glDisable(GL_CULL_FACE);
  for (double turn : {30.0, 90.0, -45.0, 160.0}) {
    const gl_feedback::Result result = gl_feedback::Capture([&] { DrawHaloBillboard(kOrigin, 1.0, 1.0, turn); });
    const gl_feedback::Polygon corners = Corners(result, 0, result.polygons.size());
    const gl_feedback::Vertex* a = WithTexCoord(corners, 1, 0);
    const gl_feedback::Vertex* b = WithTexCoord(corners, 1, 1);
    ASSERT_TRUE(a && b);
    double angle = std::atan2(b->y - a->y, b->x - a->x) * 180 / kPi - 90.0 - turn;
    angle = std::remainder(angle, 360.0);
    EXPECT_NEAR(angle, 0.0, 0.5) << "turn " << turn;
  }
}

// k of the limb glow for an eye at `eye`: the angle between centre and sun over the
// planet's apparent radius.
double GlowK(const double eye[3]) {
  const double sun[3] = {400, 400, 100};
  double a[3], b[3];
  for (int i = 0; i < 3; ++i) {
    a[i] = -eye[i];
    b[i] = sun[i] - eye[i];
  }
  const double g = a[0] * a[0] + a[1] * a[1] + a[2] * a[2];
  const double nb = std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2]);
  const double alpha = std::atan((1 / std::sqrt(1 - 1 / g)) / std::sqrt(g));
  return std::acos((a[0] * b[0] + a[1] * b[1] + a[2] * b[2]) / (std::sqrt(g) * nb)) / alpha;
}

// The eye 4 units from the centre on the far side from the sun, moved off the sun's line
// towards `sideAngle` (about the sun's direction) until the sun is seen at k times the
// planet's apparent radius from its centre.
struct SunView {
  double eye[3];
  double up[3];
};
SunView ViewWithSunAt(double k, double sideAngle) {
  const double n = std::sqrt(400.0 * 400 + 400 * 400 + 100 * 100);
  const double s[3] = {400 / n, 400 / n, 100 / n};
  double r[3] = {s[1], -s[0], 0};
  const double rn = std::hypot(r[0], r[1]);
  r[0] /= rn;
  r[1] /= rn;
  const double u[3] = {s[1] * r[2] - s[2] * r[1], s[2] * r[0] - s[0] * r[2], s[0] * r[1] - s[1] * r[0]};
  const double c = std::cos(sideAngle), sn = std::sin(sideAngle);
  const double across[3] = {c * r[0] + sn * u[0], c * r[1] + sn * u[1], c * r[2] + sn * u[2]};
  SunView view;
  auto place = [&](double beta) {
    for (int i = 0; i < 3; ++i) view.eye[i] = 4.0 * (-s[i] * std::cos(beta) + across[i] * std::sin(beta));
  };
  double low = 0, high = 1.0;  // k grows with beta over this range
  for (int step = 0; step < 100; ++step) {
    const double mid = (low + high) / 2;
    place(mid);
    (GlowK(view.eye) < k ? low : high) = mid;
  }
  place((low + high) / 2);
  for (int i = 0; i < 3; ++i) view.up[i] = u[i];
  return view;
}

TEST_F(PlanetDrawTest, GlowAlphasForTheSunBehindTheCentreAndAtTwiceTheRadius) {
  SceneTextures textures;
  const double sun[3] = {400, 400, 100};
  for (const auto& expected : {std::make_tuple(0.0, 0.5f, 0.12f), std::make_tuple(2.0, 0.075f, 0.2f)}) {
    const double k = std::get<0>(expected);
    const SunView view = ViewWithSunAt(k, 0.0);
    LookAt(view.eye, kOrigin, view.up);
    const gl_feedback::Result result = gl_feedback::Capture([&] { DrawLimbGlare(textures, kOrigin, 1.0, sun); });
    ASSERT_EQ(result.polygons.size() % 2, 0u);
    ASSERT_GE(result.polygons.size(), 2u) << "k = " << k;
    const size_t half = result.polygons.size() / 2;
    EXPECT_NEAR(result.polygons.front().vertices[0].rgba[3], std::get<1>(expected), 2e-3) << "first glow, k = " << k;
    EXPECT_NEAR(result.polygons[half].vertices[0].rgba[3], std::get<2>(expected), 2e-3) << "second glow, k = " << k;
  }
  GLint source = 0, destination = 0;
  glGetIntegerv(GL_BLEND_SRC, &source);
  glGetIntegerv(GL_BLEND_DST, &destination);
  EXPECT_EQ(source, GL_SRC_ALPHA);
  EXPECT_EQ(destination, GL_ONE) << "the glow adds light";
}

TEST_F(PlanetDrawTest, SunBehindTheCameraDrawsNoGlow) {
  SceneTextures textures;
  const double sun[3] = {400, 400, 100};
  const double eye[3] = {1.5, 1.5, 0.4};  // between the planet and the sun, looking at the planet
  LookAt(eye, kOrigin);
  const gl_feedback::Result result = gl_feedback::Capture([&] { DrawLimbGlare(textures, kOrigin, 1.0, sun); });
  EXPECT_EQ(result.values, 0u);
}

TEST_F(PlanetDrawTest, GlowIsBrightestTowardsTheSun) {
  // Where the glow pictures are brightest (their texture corner (1, 1)) must lie on the
  // side of the disc where the sun is, whatever that side is on the screen.
  SceneTextures textures;
  const double sun[3] = {400, 400, 100};
  for (double side : {0.0, 0.8, 2.0, 3.5, 5.0}) {
    const SunView view = ViewWithSunAt(1.3, side);
    LookAt(view.eye, kOrigin, view.up);
    double sunWindow[3], centreWindow[3];
    Project(sun, sunWindow);
    Project(kOrigin, centreWindow);
    const double towardsSun = std::atan2(sunWindow[1] - centreWindow[1], sunWindow[0] - centreWindow[0]);
    const gl_feedback::Result result = gl_feedback::Capture([&] { DrawLimbGlare(textures, kOrigin, 1.0, sun); });
    const size_t half = result.polygons.size() / 2;
    for (size_t first : {size_t{0}, half}) {
      const gl_feedback::Polygon corners = Corners(result, first, half);
      const gl_feedback::Vertex* dark = WithTexCoord(corners, 0, 0);
      const gl_feedback::Vertex* bright = WithTexCoord(corners, 1, 1);
      ASSERT_TRUE(dark && bright) << "side " << side;
      const double diagonal = std::atan2(bright->y - dark->y, bright->x - dark->x);
      EXPECT_NEAR(std::remainder(diagonal - towardsSun, 2 * kPi), 0.0, 0.02)
          << "screen angle of the sun " << towardsSun * 180 / kPi << " deg, glow " << first;
    }
  }
}

}  // namespace
