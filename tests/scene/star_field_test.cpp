// The star field: where each star lies on the celestial sphere, how bright and wide it is
// drawn, and the display list compiled on the first frame and replayed afterwards; drawn
// on a real (off-screen) OpenGL context.
#include "scene/star_field.h"

#include <gtest/gtest.h>

#include <cmath>
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

  // A new catalogue: the list compiled from the previous one is dropped.
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

  OffscreenGl gl{64, 64};
  std::vector<StarRecord> records;
  StarCatalogue catalogue;
};

TEST_F(StarFieldTest, FirstFrameCompilesTheListAndLaterFramesReplayIt) {
  Look(0, 1, 0, 0, 0, 1);
  std::vector<StarRecord> stars;
  for (int i = 0; i < 40; ++i) stars.push_back(Star(-1.0 + 0.2 * i, 22.0 + 0.15 * i, -3.0 + 0.15 * i, static_cast<int8_t>(i % 7)));
  Use(stars);
  ASSERT_FALSE(catalogue.starList);
  const std::vector<uint32_t> first = Draw();
  ASSERT_TRUE(catalogue.starList) << "the first frame keeps the list it compiled";
  EXPECT_TRUE(glIsList(catalogue.starList.name()));
  const GLuint list = catalogue.starList.name();
  ASSERT_GT(LitPixels(first), 20) << "the first frame draws while compiling";

  // The second frame only calls the list: changing the records no longer changes the sky.
  for (StarRecord& star : records) star.magnitude = 50.0;
  const std::vector<uint32_t> second = Draw();
  EXPECT_EQ(catalogue.starList.name(), list);
  EXPECT_TRUE(first == second) << "the replayed list draws the same picture";
}

TEST_F(StarFieldTest, WithoutRecordsNothingIsDrawnAndNoListMade) {
  Look(0, 1, 0, 0, 0, 1);
  EXPECT_EQ(LitPixels(Draw()), 0);
  EXPECT_FALSE(catalogue.starList);
}

}  // namespace
