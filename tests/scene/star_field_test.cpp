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
  // "6.70;0.35;25.12;A": f = 1 - (6.7 + 1.5) / 10 = 0.18, two pixels wide.
  const StarPoint faint = StarPointFor(Star(6.70, 0.35, 25.12, 2));
  EXPECT_FLOAT_EQ(faint.size, 2.0f);
  EXPECT_NEAR(faint.red, 252 * 0.003906 * 0.18 * 1.5, 1e-6);
  EXPECT_NEAR(faint.green, 254 * 0.003906 * 0.18 * 1.5, 1e-6);
  EXPECT_NEAR(faint.blue, 243 * 0.003906 * 0.18 * 1.5, 1e-6);

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
  EXPECT_NEAR(m.red, 255 * 0.003906 * 0.35 * 1.5, 1e-6);
  EXPECT_NEAR(m.blue, 128 * 0.003906 * 0.35 * 1.5, 1e-6);
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
    if (catalogue.starList != 0) glDeleteLists(catalogue.starList, 1);
    catalogue.starList = 0;
    records = std::move(stars);
    catalogue.records = records.data();
    catalogue.count = static_cast<int32_t>(records.size());
  }

  // Lit pixels of the picture and the sum of their red channels.
  struct Lit {
    int pixels = 0;
    int red = 0;
    int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
  };
  Lit Measure(const std::vector<uint32_t>& picture) {
    Lit lit;
    for (int y = 0; y < gl.height(); ++y)
      for (int x = 0; x < gl.width(); ++x) {
        const uint32_t p = picture[static_cast<size_t>(y * gl.width() + x)];
        if ((p & 0xffffffu) == 0) continue;
        ++lit.pixels;
        lit.red += OffscreenGl::Red(p);
        lit.minX = std::min(lit.minX, x);
        lit.maxX = std::max(lit.maxX, x);
        lit.minY = std::min(lit.minY, y);
        lit.maxY = std::max(lit.maxY, y);
      }
    return lit;
  }

  OffscreenGl gl{64, 64};
  std::vector<StarRecord> records;
  StarCatalogue catalogue;
};

TEST_F(StarFieldTest, StarsLieWhereTheCameraSeesTheirDirection) {
  Use({Star(0.0, 25, 0, 2)});  // on +y
  Look(0, 1, 0, 0, 0, 1);
  Lit lit = Measure(Draw());
  ASSERT_GT(lit.pixels, 0) << "a star on +y is seen looking along +y";
  EXPECT_LE(std::abs((lit.minX + lit.maxX) / 2 - gl.width() / 2), 1);
  EXPECT_LE(std::abs((lit.minY + lit.maxY) / 2 - gl.height() / 2), 1);

  Look(0, -1, 0, 0, 0, 1);
  EXPECT_EQ(Measure(Draw()).pixels, 0) << "and not looking the other way";

  Use({Star(0.0, 80, 50, 2)});  // the pole, whatever the right ascension
  Look(0, 0, 1, 0, 1, 0);
  lit = Measure(Draw());
  ASSERT_GT(lit.pixels, 0) << "declination 50 lies straight up the planet's axis";
  EXPECT_LE(std::abs((lit.minX + lit.maxX) / 2 - gl.width() / 2), 1);
}

TEST_F(StarFieldTest, BrightStarsAreWiderAndStarsWriteDepthAtTheirSphere) {
  Look(0, 1, 0, 0, 0, 1);
  Use({Star(-1.46, 25, 0, 2)});
  const Lit bright = Measure(Draw());
  GLfloat depth = 1.0f;
  glReadPixels(gl.width() / 2, gl.height() / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  EXPECT_LT(depth, 1.0f) << "the star's pixel holds the depth of the sphere of radius 350";
  Use({Star(6.7, 25, 0, 2)});
  const Lit faint = Measure(Draw());
  ASSERT_GT(faint.pixels, 0);
  EXPECT_GE(bright.maxX - bright.minX + 1, 5) << "6.46 pixels wide";
  EXPECT_LE(faint.maxX - faint.minX + 1, 3) << "2 pixels wide";
  EXPECT_GT(bright.red / bright.pixels, 2 * faint.red / faint.pixels);
}

TEST_F(StarFieldTest, FirstFrameCompilesTheListAndLaterFramesReplayIt) {
  Look(0, 1, 0, 0, 0, 1);
  std::vector<StarRecord> stars;
  for (int i = 0; i < 40; ++i) stars.push_back(Star(-1.0 + 0.2 * i, 22.0 + 0.15 * i, -3.0 + 0.15 * i, static_cast<int8_t>(i % 7)));
  Use(stars);
  ASSERT_EQ(catalogue.starList, 0u);
  const std::vector<uint32_t> first = Draw();
  ASSERT_NE(catalogue.starList, 0u) << "the first frame keeps the list it compiled";
  EXPECT_TRUE(glIsList(catalogue.starList));
  const GLuint list = catalogue.starList;
  ASSERT_GT(Measure(first).pixels, 20) << "the first frame draws while compiling";

  // The second frame only calls the list: changing the records no longer changes the sky.
  for (StarRecord& star : records) star.magnitude = 50.0;
  const std::vector<uint32_t> second = Draw();
  EXPECT_EQ(catalogue.starList, list);
  EXPECT_TRUE(first == second) << "the replayed list draws the same picture";
}

TEST_F(StarFieldTest, RunsOfEqualSizeDrawTheSamePictureAsOneBlockPerStar) {
  // Crowded, overlapping stars of sizes that repeat, change and come back, so that both
  // the additive colours and the depth test see every star in array order.
  Look(0, 1, 0, 0, 0, 1);
  std::vector<StarRecord> stars;
  for (int i = 0; i < 300; ++i) {
    const double magnitude = i % 7 == 0 ? -1.0 + 0.37 * (i % 11) : 3.0 + 0.01 * (i % 5);
    stars.push_back(Star(magnitude, 24.0 + 0.02 * (i % 23), -1.0 + 0.03 * (i % 17), static_cast<int8_t>(i % 7)));
  }
  Use(stars);
  const std::vector<uint32_t> grouped = Draw();

  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPushAttrib(GL_CURRENT_BIT | GL_LIGHTING_BIT | GL_ENABLE_BIT | GL_TEXTURE_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_POINT_SMOOTH);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glPushMatrix();
  glScaled(350.0, 350.0, 350.0);
  for (const StarRecord& star : records) {
    const StarPoint point = StarPointFor(star);
    glColor4f(point.red, point.green, point.blue, 1.0f);
    glPointSize(point.size);
    glBegin(GL_POINTS);
    glVertex3d(point.direction[0], point.direction[1], point.direction[2]);
    glEnd();
  }
  glPopMatrix();
  glPopAttrib();
  const std::vector<uint32_t> oneByOne = gl.pixels();
  ASSERT_GT(Measure(oneByOne).pixels, 30);
  size_t differing = 0;
  for (size_t i = 0; i < grouped.size(); ++i) differing += grouped[i] != oneByOne[i];
  EXPECT_EQ(differing, 0u) << "pixels that differ from drawing every star as its own block";
}

TEST_F(StarFieldTest, WithoutRecordsNothingIsDrawnAndNoListMade) {
  Look(0, 1, 0, 0, 0, 1);
  EXPECT_EQ(Measure(Draw()).pixels, 0);
  EXPECT_EQ(catalogue.starList, 0u);
}

}  // namespace
