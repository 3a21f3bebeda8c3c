// The flare's arithmetic: strength, colours, corners and orientation of the elements, the
// ring of depth samples and which of them count.
#include "scene/flare_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Flare {
  int count = 0;
  FlareQuad quads[kFlareElementCount + 1];
};

Flare FlareFor(double ndcX, double ndcY, double visibleFraction, double aspect) {
  Flare flare;
  flare.count = FlareQuads(ndcX, ndcY, visibleFraction, aspect, flare.quads);
  return flare;
}

TEST(FlareQuads, FullyVisibleSunHasFullStrengthAndTableColours) {
  const double aspect = 4.0 / 3.0;
  const Flare flare = FlareFor(0.3, -0.2, 1.0, aspect);
  ASSERT_EQ(flare.count, 28);
  const FlareQuad& e19 = flare.quads[18];
  EXPECT_DOUBLE_EQ(e19.cornerX, 1.8);
  EXPECT_DOUBLE_EQ(e19.cornerY, 1.8 * aspect);
  EXPECT_DOUBLE_EQ(e19.alpha, 0.3);
  EXPECT_DOUBLE_EQ(flare.quads[16].alpha, 0.9) << "element 17: alpha 3.0 times 0.3";
  // The elements' table as the flare is designed: position on the line through the centre,
  // alpha, picture and colour.
  const struct {
    double position, alpha;
    int picture;
    double red, green, blue;  // as single-precision values once drawn
  } designed[] = {
      {1.0, 0.5, 4, 0.35, 0.284, 0.176},
      {1.0, 0.2, 4, 1, 1, 1},
      {0.415, 0.1, 1, 0.137, 0.263, 0.125},
      {0.4, 0.2, 1, 0.059, 0.78, 0.698},
      {0.395, 1.0, 4, 0.835, 0.91, 0.02},
      {0.375, 0.5, 4, 0.835, 0.91, 0.02},
      {0.375, 0.5, 4, 0.835, 0.91, 0.02},
      {0.36, 1.0, 4, 0.835, 0.91, 0.02},
      {0.3575, 1.0, 4, 0.835, 0.91, 0.02},
      {0.35, 0.3, 1, 0.698, 0.525, 0},
      {0.35, 0.6, 3, 0.698, 0.525, 0},
      {0.295, 1.0, 3, 0.706, 0, 0.118},
      {0.295, 0.5, 4, 0, 0.659, 0.573},
      {0.295, 0.3, 4, 0.192, 0.565, 0.505},
      {0.3, 0.3, 1, 0, 0.333, 0.486},
      {0.27, 0.4, 1, 0.059, 0.208, 0.69},
      {1.0, 3.0, 4, 0.596, 0.427, 0.282},
      {1.0, 1.0, 4, 1, 0.9, 0.6},
      {1.0, 1.0, 4, 0.9596, 0.9427, 0.9282},
      {-0.54, 0.6, 4, 0.607, 0.643, 0.1},
      {-0.78, 0.9, 4, 1, 1, 1},
      {-0.78, 0.4, 2, 0.859, 0.309, 0.663},
      {1.0, 0.8, 4, 0.553, 0.522, 0.369},
      {1.0, 0.3, 4, 1, 1, 1},
      {1.0, 0.2, 2, 1, 0.5, 0.364},
      {1.0, 0.4, 5, 1, 1, 1},
      {1.0, 0.2, 5, 1, 1, 1},
  };
  ASSERT_EQ(std::size(designed), static_cast<size_t>(kFlareElementCount));
  for (int i = 0; i < kFlareElementCount; ++i) {
    const auto& e = designed[i];
    const FlareQuad& q = flare.quads[i];
    EXPECT_FLOAT_EQ(q.red, static_cast<float>(e.red)) << "element " << i + 1;
    EXPECT_FLOAT_EQ(q.green, static_cast<float>(e.green)) << "element " << i + 1;
    EXPECT_FLOAT_EQ(q.blue, static_cast<float>(e.blue)) << "element " << i + 1;
    EXPECT_DOUBLE_EQ(q.x, e.position * 0.3) << "element " << i + 1 << " on the line through the centre";
    EXPECT_DOUBLE_EQ(q.y, e.position * -0.2) << "element " << i + 1;
    EXPECT_DOUBLE_EQ(q.alpha, e.alpha * 0.3) << "element " << i + 1;
    EXPECT_EQ(q.textureIndex, e.picture - 1);
  }
  const FlareQuad& streak = flare.quads[27];
  EXPECT_EQ(streak.textureIndex, 5);
  EXPECT_DOUBLE_EQ(streak.x, 0.3);
  EXPECT_DOUBLE_EQ(streak.y, -0.2);
  EXPECT_DOUBLE_EQ(streak.cornerX, 3.0);
  EXPECT_DOUBLE_EQ(streak.cornerY, 0.06 * aspect);
  EXPECT_DOUBLE_EQ(streak.alpha, 0.3);
  EXPECT_DOUBLE_EQ(streak.angle, -kPi / 4);
  EXPECT_FLOAT_EQ(streak.green, 1.0f);
  EXPECT_FLOAT_EQ(streak.blue, 1.0f);
}

TEST(FlareQuads, HalfCoveredSunIsSmallerFainterAndMoreOrange) {
  const Flare flare = FlareFor(0.3, -0.2, 0.5, 1.0);
  ASSERT_EQ(flare.count, 28);
  const FlareQuad& e1 = flare.quads[0];
  EXPECT_NEAR(e1.red, 0.675, 1e-6);
  EXPECT_NEAR(e1.green, 0.392, 1e-6);
  EXPECT_NEAR(e1.blue, 0.088, 1e-6);
  EXPECT_DOUBLE_EQ(e1.cornerX, 0.15 * 0.9);
  EXPECT_DOUBLE_EQ(e1.alpha, 0.15 * 0.5);
  const FlareQuad& streak = flare.quads[27];
  EXPECT_DOUBLE_EQ(streak.cornerX, 3.0) << "the streak keeps its length";
  EXPECT_DOUBLE_EQ(streak.alpha, 0.15);
  EXPECT_FLOAT_EQ(streak.red, 1.0f);
  EXPECT_FLOAT_EQ(streak.green, 0.75f);
  EXPECT_FLOAT_EQ(streak.blue, 0.5f);

  const Flare almostHidden = FlareFor(0.3, -0.2, 1.0 / 128, 1.0);
  for (int i = 0; i < kFlareElementCount; ++i) {
    EXPECT_NEAR(almostHidden.quads[i].red, 1.0, 0.01) << "element " << i + 1 << " turns orange";
    EXPECT_NEAR(almostHidden.quads[i].green, 0.5, 0.01) << "element " << i + 1;
    EXPECT_NEAR(almostHidden.quads[i].blue, 0.0, 0.01) << "element " << i + 1;
  }
}

TEST(FlareQuads, NothingForAFullyCoveredSun) {
  EXPECT_EQ(FlareFor(0.3, -0.2, 0.0, 1.0).count, 0);
  EXPECT_EQ(FlareFor(0.0, 0.0, 0.0, 1.5).count, 0);
}

// Every element turns so that its t axis (from its (1, 0) corner to its (1, 1) corner) points
// from the screen centre towards the sun; a sun on the centre keeps the angle of +x.
struct SunPosition {
  double x, y, angle, tX, tY;
};

class FlareOrientationTest : public testing::TestWithParam<SunPosition> {};

TEST_P(FlareOrientationTest, TAxisPointsFromTheCentreTowardsTheSun) {
  const SunPosition& sun = GetParam();
  const Flare flare = FlareFor(sun.x, sun.y, 1.0, 1.0);
  ASSERT_EQ(flare.count, 28);
  for (int i = 0; i < kFlareElementCount; ++i) {
    const FlareQuad& q = flare.quads[i];
    EXPECT_NEAR(std::remainder(q.angle - sun.angle, 2 * kPi), 0.0, 1e-12) << "element " << i + 1;
    FlareCorner c[4];
    FlareQuadCorners(q.x, q.y, q.angle, q.cornerX, q.cornerY, c);
    const double dx = c[1].x - c[0].x, dy = c[1].y - c[0].y, length = std::hypot(dx, dy);
    EXPECT_NEAR(dx / length, sun.tX, 1e-9) << "element " << i + 1;
    EXPECT_NEAR(dy / length, sun.tY, 1e-9) << "element " << i + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Suns, FlareOrientationTest,
    testing::Values(SunPosition{0.0, 0.0, -3 * kPi / 4, 1, 0}, SunPosition{0.0, 0.5, -kPi / 4, 0, 1},
                    SunPosition{0.6, 0.0, -3 * kPi / 4, 1, 0}, SunPosition{-0.6, 0.0, kPi / 4, -1, 0},
                    SunPosition{0.0, -0.6, 3 * kPi / 4, 0, -1},
                    SunPosition{0.3, 0.3, -kPi / 2, std::sqrt(0.5), std::sqrt(0.5)},
                    SunPosition{-0.4, 0.3, std::atan2(0.3, -0.4) - 3 * kPi / 4, -0.8, 0.6}));

TEST(FlareQuadCorners, CornersRunCounterClockwiseWithTheirTextureCoordinates) {
  FlareCorner c[4];
  FlareQuadCorners(0.25, -0.5, 0.0, 0.1, 0.2, c);
  const double expected[4][4] = {
      {1, 0, 0.35, -0.5}, {1, 1, 0.25, -0.3}, {0, 1, 0.15, -0.5}, {0, 0, 0.25, -0.7}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(c[i].s, expected[i][0]) << "corner " << i;
    EXPECT_EQ(c[i].t, expected[i][1]) << "corner " << i;
    EXPECT_NEAR(c[i].x, expected[i][2], 1e-12) << "corner " << i;
    EXPECT_NEAR(c[i].y, expected[i][3], 1e-12) << "corner " << i;
  }
  // Positive signed area: counter-clockwise, so back-face culling keeps the quad.
  for (double angle : {-3 * kPi / 4, -kPi / 4, 1.0, 2.5}) {
    FlareQuadCorners(0.1, 0.2, angle, 0.3, 0.4, c);
    double area = 0;
    for (int i = 0; i < 4; ++i) area += c[i].x * c[(i + 1) % 4].y - c[(i + 1) % 4].x * c[i].y;
    EXPECT_GT(area, 0.0) << "angle " << angle;
  }
}

TEST(SunImage, BehindTheEyeOrBeyondTheFarPlaneIsNotInFront) {
  EXPECT_FALSE(SunImageFromWindow(512, 384, 1.0001, 1024, 768).inFront);
  EXPECT_FALSE(SunImageFromWindow(512, 384, std::nan(""), 1024, 768).inFront);
  EXPECT_FALSE(SunImageFromWindow(512, 384, 0.5, 1024, 0).inFront) << "an empty viewport";
  const SunImage image = SunImageFromWindow(768, 192, 1.0, 1024, 768);
  EXPECT_TRUE(image.inFront) << "depth exactly 1 is still in front";
  EXPECT_DOUBLE_EQ(image.ndcX, 0.5);
  EXPECT_DOUBLE_EQ(image.ndcY, -0.5);
}

TEST(RingSamples, AFullRingOnScreenHas128SamplesAroundTheSun) {
  RingSample samples[kRingSampleCount];
  const int count = RingSamplePixels(0.0, 0.0, 1000, 800, samples);
  ASSERT_EQ(count, 128);
  EXPECT_EQ(samples[0].x, 525) << "theta 0: (0.05 + 1) / 2 * 1000";
  EXPECT_EQ(samples[0].y, 400);
  EXPECT_EQ(samples[32].x, 500) << "theta pi/2";
  EXPECT_EQ(samples[32].y, 420);
  EXPECT_EQ(samples[64].x, 475);
}

TEST(RingSamples, NearTheEdgeOnlyOnScreenSamplesCount) {
  RingSample samples[kRingSampleCount];
  // The sun just outside the left edge: the right part of its ring is on the screen.
  const int count = RingSamplePixels(-1.02, 0.3, 640, 480, samples);
  EXPECT_GT(count, 0);
  EXPECT_LT(count, 64);
  for (int i = 0; i < count; ++i) {
    EXPECT_GE(samples[i].x, 0);
    EXPECT_LT(samples[i].x, 640);
  }
  EXPECT_EQ(RingSamplePixels(-1.2, 0.0, 640, 480, samples), 0) << "ring wholly off screen";
  EXPECT_EQ(RingSamplePixels(0.0, 1.05, 640, 480, samples), 0) << "-1 <= p < 1: the top edge itself is off";
}

TEST(RingSamples, SamplesJustInsideTheRightEdgeStayOnTheLastPixel) {
  // A sample a hair below 1 gives (p + 1) / 2 = 1 after rounding, one pixel past the edge;
  // sweep the sun over the last few hundred representable steps before that happens.
  RingSample samples[kRingSampleCount];
  bool roundingReached = false;
  double ndcX = 0.95;
  for (int step = 0; step < 400; ++step, ndcX = std::nextafter(ndcX, 0.0)) {
    const double px = ndcX + kRingRadius * std::cos(0.0);
    if (px < 1.0 && std::floor((px + 1.0) * 0.5 * 1024) >= 1024) roundingReached = true;
    const int count = RingSamplePixels(ndcX, 0.0, 1024, 768, samples);
    for (int i = 0; i < count; ++i) ASSERT_LT(samples[i].x, 1024) << "sun at " << ndcX;
  }
  EXPECT_TRUE(roundingReached) << "the sweep did not reach the rounding case";
}

}  // namespace
