// Covers of made-up pictures: every texel that can change a pixel, and the texel that
// linear filtering reaches around it, lies inside the cover; single-level noise does not
// widen it; the triangles meet without T-junctions.
#include "scene/picture_cover.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

namespace {

Image Picture(int width, int height, uint8_t background, const std::function<uint8_t(int, int)>& value) {
  Image image;
  image.bitsPerPixel = 24;
  image.width = width;
  image.height = height;
  image.pixels = AllocateBytes(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t v = value ? value(x, y) : background;
      std::memset(image.pixels.get() + (static_cast<size_t>(y) * width + x) * 3, v, 3);
    }
  return image;
}

double Cross(const CoverPoint& a, const CoverPoint& b, const CoverPoint& c) {
  return (b.s - a.s) * (c.t - a.t) - (b.t - a.t) * (c.s - a.s);
}

bool Inside(const PictureCover& cover, double s, double t) {
  const CoverPoint p{s, t};
  for (size_t k = 0; k + 2 < cover.triangles.size(); k += 3) {
    const CoverPoint* c = &cover.triangles[k];
    if (Cross(c[0], c[1], p) >= -1e-12 && Cross(c[1], c[2], p) >= -1e-12 && Cross(c[2], c[0], p) >= -1e-12) return true;
  }
  return false;
}

// Every corner of the square around the texel's centre that filtering reads it from.
bool HoldsReachOf(const PictureCover& cover, int x, int y, int width, int height) {
  for (int dx : {-1, 1})
    for (int dy : {-1, 1}) {
      const double s = std::fmin(std::fmax((x + 0.5 + dx) / width, 0.0), 1.0);
      const double t = std::fmin(std::fmax((y + 0.5 + dy) / height, 0.0), 1.0);
      if (!Inside(cover, s, t)) return false;
    }
  return true;
}

TEST(PictureCoverTest, AGlowIsCoveredTightlyWithItsFilterReach) {
  // A disc of radius 10 texels, brightest in the middle, on black; one-level noise in a
  // corner, as JPEG leaves it.
  const Image glow = Picture(64, 64, 0, [](int x, int y) {
    if (x == 2 && y == 3) return uint8_t{1};
    const double r = std::hypot(x + 0.5 - 32, y + 0.5 - 32);
    return static_cast<uint8_t>(r < 10 ? 2 + (10 - r) * 20 : 0);
  });
  const PictureCover cover = CoverOf(glow, PictureBlend::Adds);
  ASSERT_FALSE(cover.whole);
  ASSERT_FALSE(cover.triangles.empty());
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      if (std::hypot(x + 0.5 - 32, y + 0.5 - 32) < 10) {
        ASSERT_TRUE(HoldsReachOf(cover, x, y, 64, 64)) << x << ", " << y;
      }
  EXPECT_FALSE(Inside(cover, 2.5 / 64, 3.5 / 64)) << "single-level noise adds no light worth drawing";
  EXPECT_LT(cover.area, 0.13) << "about the disc's area, pi 11^2 / 64^2 = 0.093";
  for (size_t k = 0; k < cover.triangles.size(); k += 3)
    EXPECT_GT(Cross(cover.triangles[k], cover.triangles[k + 1], cover.triangles[k + 2]), 0.0) << "counter-clockwise";
}

TEST(PictureCoverTest, ARingIsCoveredWithoutItsMiddleAndWithoutTJunctions) {
  // A multiplying mask: white, with a dark ring of radii 20 to 24 texels.
  const Image mask = Picture(64, 64, 255, [](int x, int y) {
    const double r = std::hypot(x + 0.5 - 32, y + 0.5 - 32);
    return static_cast<uint8_t>(r > 20 && r < 24 ? 40 : 255);
  });
  const PictureCover cover = CoverOf(mask, PictureBlend::Multiplies);
  ASSERT_FALSE(cover.whole);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const double r = std::hypot(x + 0.5 - 32, y + 0.5 - 32);
      if (r > 20 && r < 24) {
        ASSERT_TRUE(HoldsReachOf(cover, x, y, 64, 64)) << x << ", " << y;
      }
    }
  EXPECT_FALSE(Inside(cover, 0.5, 0.5)) << "the white middle changes nothing";
  EXPECT_LT(cover.area, 0.45);
  // No corner of one triangle lies inside another's edge: pixels on shared edges are then
  // drawn exactly once.
  const std::vector<CoverPoint>& c = cover.triangles;
  for (const CoverPoint& p : c)
    for (size_t k = 0; k < c.size(); k += 3)
      for (int e = 0; e < 3; ++e) {
        const CoverPoint& a = c[k + e];
        const CoverPoint& b = c[k + (e + 1) % 3];
        if ((p.s == a.s && p.t == a.t) || (p.s == b.s && p.t == b.t)) continue;
        const double along = ((p.s - a.s) * (b.s - a.s) + (p.t - a.t) * (b.t - a.t)) /
                             ((b.s - a.s) * (b.s - a.s) + (b.t - a.t) * (b.t - a.t));
        ASSERT_FALSE(std::fabs(Cross(a, b, p)) < 1e-12 && along > 0.0 && along < 1.0)
            << "corner (" << p.s << ", " << p.t << ") on an edge";
      }
}

TEST(PictureCoverTest, NothingToDrawOrEverythingToDraw) {
  const PictureCover white = CoverOf(Picture(16, 16, 254, nullptr), PictureBlend::Multiplies);
  EXPECT_FALSE(white.whole) << "254 multiplies by less than one level";
  EXPECT_TRUE(white.triangles.empty());
  const PictureCover lit = CoverOf(Picture(16, 16, 2, nullptr), PictureBlend::Adds);
  EXPECT_TRUE(lit.whole) << "light everywhere: the square itself";
  EXPECT_TRUE(CoverOf(Image{}, PictureBlend::Adds).whole) << "no picture: the square, untextured";
}

}  // namespace
