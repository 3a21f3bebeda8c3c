// The star field: where each star lies on the celestial sphere, how bright and wide it is
// drawn, and that sending only the stars that can reach into the view draws the picture
// that sending every star draws; on a real (off-screen) OpenGL context.
#include "scene/star_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "scene/gl.h"
#include "tests/support/offscreen_gl.h"

namespace {

StarRecord Star(double magnitude, double rightAscension, double declination, int8_t colourClass) {
  return StarRecord{rightAscension, declination, magnitude, colourClass};
}

TEST(StarPoint, PositionsOnTheCelestialSphere) {
  struct Case {
    double rightAscension, declination;
    double x, y, z;
    const char* what;
  } cases[] = {
      {0, 0, 1, 0, 0, "right ascension 0 on +x"},
      {25, 0, 0, 1, 0, "right ascension 25 (a quarter turn) on +y"},
      {50, 0, -1, 0, 0, "right ascension 50 on -x"},
      {10, 50, 0, 0, 1, "declination 50 on the north pole"},
      {0, -50, 0, 0, -1, "declination -50 on the south pole"},
      {0, -25, std::sqrt(0.5), 0, -std::sqrt(0.5), "declination -25 is 45 degrees south"},
  };
  for (const Case& c : cases) {
    const StarPoint point = StarPointFor(Star(1.0, c.rightAscension, c.declination, 2));
    EXPECT_NEAR(point.direction[0], c.x, 1e-12) << c.what;
    EXPECT_NEAR(point.direction[1], c.y, 1e-12) << c.what;
    EXPECT_NEAR(point.direction[2], c.z, 1e-12) << c.what;
  }
}

TEST(StarPoint, BrightnessAndSizeFollowTheMagnitude) {
  // "6.70;0.35;25.12;A": f = 1 - (6.7 + 1.5) / 10 = 0.18, two pixels wide; class A's
  // (252, 254, 243) times 0.003906 * 0.18 * 1.5, worked out on a calculator.
  const StarPoint faint = StarPointFor(Star(6.70, 0.35, 25.12, 2));
  EXPECT_FLOAT_EQ(faint.size, 2.0f);
  EXPECT_NEAR(faint.red, 0.26576424, 1e-6);
  EXPECT_NEAR(faint.green, 0.26787348, 1e-6);
  EXPECT_NEAR(faint.blue, 0.25627266, 1e-6);

  // The brightest star: 6.46 pixels wide, and its colour saturates to white.
  const StarPoint brightest = StarPointFor(Star(-1.46, 28.13, -9.28, 2));
  EXPECT_FLOAT_EQ(brightest.size, 6.46f);
  EXPECT_FLOAT_EQ(brightest.red, 1.0f);
  EXPECT_FLOAT_EQ(brightest.green, 1.0f);
  EXPECT_FLOAT_EQ(brightest.blue, 1.0f);

  EXPECT_FLOAT_EQ(StarPointFor(Star(3.0, 0, 0, 3)).size, 2.0f) << "magnitude 3 and fainter: 2 pixels";
  EXPECT_FLOAT_EQ(StarPointFor(Star(2.5, 0, 0, 3)).size, 2.5f);
  const StarPoint beyond = StarPointFor(Star(9.0, 0, 0, 6));
  EXPECT_EQ(beyond.red + beyond.green + beyond.blue, 0.0f) << "a negative brightness is black";

  // Class colours keep their hue: an M star is redder than an O star of equal magnitude.
  const StarPoint m = StarPointFor(Star(5.0, 0, 0, 6)), o = StarPointFor(Star(5.0, 0, 0, 0));
  EXPECT_GT(m.red / m.blue, 1.9f);
  EXPECT_LT(o.red / o.blue, 0.9f);
  // Magnitude 5: f = 0.35; class M's red 255 and blue 128 times 0.003906 * 0.35 * 1.5.
  EXPECT_NEAR(m.red, 0.52291575, 1e-6);
  EXPECT_NEAR(m.blue, 0.2624832, 1e-6);
}

TEST(StarMayShow, KeepsEveryPointThatCanReachTheViewport) {
  // Clip coordinates with w = 2 on a 200 x 100 viewport: the edge lies at |x| = |y| = 2.
  auto shows = [](double x, double y, double z, double w, double size) {
    const double clip[4] = {x, y, z, w};
    return StarMayShow(clip, size, 200, 100);
  };
  EXPECT_TRUE(shows(0.0, 0.0, 0.0, 2.0, 2.0));
  EXPECT_TRUE(shows(-2.0, 2.0, 1.9, 2.0, 2.0)) << "a corner";
  // Just beyond the right edge a 6-pixel point still reaches in: (6 + 2) / 200 of the half width.
  EXPECT_TRUE(shows(2.0 * 1.039, 0.0, 0.0, 2.0, 6.0));
  EXPECT_FALSE(shows(2.0 * 1.041, 0.0, 0.0, 2.0, 6.0));
  EXPECT_TRUE(shows(0.0, -2.0 * 1.079, 0.0, 2.0, 6.0)) << "the short axis: 8 / 100";
  EXPECT_FALSE(shows(0.0, -2.0 * 1.081, 0.0, 2.0, 6.0));
  EXPECT_FALSE(shows(0.0, 0.0, 2.1, 2.0, 2.0)) << "beyond the far plane";
  EXPECT_FALSE(shows(0.0, 0.0, 0.0, 0.0, 2.0)) << "on the eye's plane";
  EXPECT_FALSE(shows(0.1, 0.1, 0.5, -1.0, 2.0)) << "behind the eye, whatever its x and y";
}

// A camera at the planet's centre looking along `direction`, as far from the stars as the
// scene's cameras are for all practical purposes.
class StarFieldTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok()) << "no off-screen OpenGL context";
    glViewport(0, 0, gl.width(), gl.height());
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glClearColor(0, 0, 0, 0);
  }

  void Look(double x, double y, double z, double upX, double upY, double upZ) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(gl.width()) / gl.height(), static_cast<double>(0.01f), 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 0, x, y, z, upX, upY, upZ);
  }

  std::vector<uint32_t> Draw() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawStarField(catalogue);
    return gl.pixels();
  }

  // A new catalogue: the points prepared from the previous one are dropped.
  void Use(std::vector<StarRecord> stars) {
    catalogue.Release();
    records = std::move(stars);
    catalogue.records = records.data();
    catalogue.count = static_cast<int32_t>(records.size());
  }

  static int LitPixels(const std::vector<uint32_t>& picture) {
    int lit = 0;
    for (uint32_t p : picture) lit += (p & 0xffffffu) != 0;
    return lit;
  }

  OffscreenGl gl{160, 120};
  std::vector<StarRecord> records;
  StarCatalogue catalogue;
};

// Every star sent, in catalogue order, in the state the field draws in: what the field drew
// before it left out the stars outside the view.
std::vector<uint32_t> DrawEveryStar(OffscreenGl& gl, const StarCatalogue& catalogue) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPushAttrib(GL_CURRENT_BIT | GL_LIGHTING_BIT | GL_ENABLE_BIT | GL_TEXTURE_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glPushMatrix();
  glScaled(kStarSphereRadius, kStarSphereRadius, kStarSphereRadius);
  glEnable(GL_POINT_SMOOTH);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  for (int32_t i = 0; i < catalogue.count; ++i) {
    const StarPoint point = StarPointFor(catalogue.records[i]);
    glPointSize(point.size);
    glBegin(GL_POINTS);
    glColor4f(point.red, point.green, point.blue, 1.0f);
    glVertex3dv(point.direction);
    glEnd();
  }
  glPopMatrix();
  glPopAttrib();
  return gl.pixels();
}

TEST_F(StarFieldTest, LeavingOutTheStarsBeyondTheViewChangesNoPixel) {
  // A dense sky of every size and class, many stars overlapping and many on the edges.
  std::mt19937 random(29);
  std::uniform_real_distribution<double> rightAscension(0.0, 100.0), declination(-50.0, 50.0),
      magnitude(-1.5, 6.0);
  std::vector<StarRecord> stars;
  for (int i = 0; i < 6000; ++i)
    stars.push_back(Star(magnitude(random), rightAscension(random), declination(random), static_cast<int8_t>(i % 8)));
  Use(stars);
  const double looks[][6] = {{0, 1, 0, 0, 0, 1}, {1, 1, 0.3, 0, 0, 1}, {0, 0, 1, 0, 1, 0},
                             {-1, 0.2, -0.5, 0, 0, 1}, {0.3, -1, 0.1, 0.2, 0, 1}};
  for (const auto& look : looks) {
    Look(look[0], look[1], look[2], look[3], look[4], look[5]);
    const std::vector<uint32_t> every = DrawEveryStar(gl, catalogue);
    const std::vector<uint32_t> culled = Draw();
    ASSERT_GT(LitPixels(every), 200) << "a sky worth comparing";
    EXPECT_TRUE(every == culled) << "looking at " << look[0] << ", " << look[1] << ", " << look[2];
  }
}

TEST_F(StarFieldTest, WithoutRecordsNothingIsDrawn) {
  Look(0, 1, 0, 0, 0, 1);
  EXPECT_EQ(LitPixels(Draw()), 0);
  EXPECT_TRUE(catalogue.points.empty());
}

}  // namespace
