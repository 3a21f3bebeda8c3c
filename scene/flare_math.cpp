#include "scene/flare_math.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
}

// Position, width, height, alpha, picture, colour. Pictures: 1 a hard-edged disc, 2 a thin
// ring, 3 a half-bowl with an arc, 4 a soft glow, 5 a six-spoked star, 6 the streak.
const FlareElement kFlareElements[kFlareElementCount + 1] = {
    {1.0, 0.9, 0.9, 0.5, 4, 0.35f, 0.284f, 0.176f},
    {1.0, 0.2, 0.2, 0.2, 4, 1.0f, 1.0f, 1.0f},
    {0.415, 0.25, 0.25, 0.1, 1, 0.137f, 0.263f, 0.125f},
    {0.4, 0.15, 0.15, 0.2, 1, 0.059f, 0.78f, 0.698f},
    {0.395, 0.04, 0.04, 1.0, 4, 0.835f, 0.91f, 0.02f},
    {0.375, 0.04, 0.04, 0.5, 4, 0.835f, 0.91f, 0.02f},
    {0.375, 0.09, 0.09, 0.5, 4, 0.835f, 0.91f, 0.02f},
    {0.36, 0.03, 0.03, 1.0, 4, 0.835f, 0.91f, 0.02f},
    {0.3575, 0.04, 0.04, 1.0, 4, 0.835f, 0.91f, 0.02f},
    {0.35, 0.13, 0.13, 0.3, 1, 0.698f, 0.525f, 0.0f},
    {0.35, 0.13, 0.13, 0.6, 3, 0.698f, 0.525f, 0.0f},
    {0.295, 0.9, 0.9, 1.0, 3, 0.706f, 0.0f, 0.118f},
    {0.295, 0.75, 0.75, 0.5, 4, 0.0f, 0.659f, 0.573f},
    {0.295, 0.21, 0.21, 0.3, 4, 0.192f, 0.565f, 0.505f},
    {0.3, 0.25, 0.25, 0.3, 1, 0.0f, 0.333f, 0.486f},
    {0.27, 0.2, 0.2, 0.4, 1, 0.059f, 0.208f, 0.69f},
    {1.0, 3.0, 3.0, 3.0, 4, 0.596f, 0.427f, 0.282f},
    {1.0, 1.0, 1.0, 1.0, 4, 1.0f, 0.9f, 0.6f},
    {1.0, 6.0, 6.0, 1.0, 4, 0.9596f, 0.9427f, 0.9282f},
    {-0.54, 0.2, 0.2, 0.6, 4, 0.607f, 0.643f, 0.1f},
    {-0.78, 0.4, 0.4, 0.9, 4, 1.0f, 1.0f, 1.0f},
    {-0.78, 0.4, 0.4, 0.4, 2, 0.859f, 0.309f, 0.663f},
    {1.0, 1.25, 1.25, 0.8, 4, 0.553f, 0.522f, 0.369f},
    {1.0, 0.36, 0.36, 0.3, 4, 1.0f, 1.0f, 1.0f},
    {1.0, 0.75, 0.75, 0.2, 2, 1.0f, 0.5f, 0.364f},
    {1.0, 1.25, 1.25, 0.4, 5, 1.0f, 1.0f, 1.0f},
    {1.0, 2.25, 2.25, 0.2, 5, 1.0f, 1.0f, 1.0f},
    // The streak: centred on the sun, fixed orientation, a size that does not shrink.
    {1.0, 3.0, 0.06, 1.0, 6, 1.0f, 1.0f, 1.0f},
};

SunImage SunImageFromWindow(double wx, double wy, double wz, int width, int height) {
  SunImage image{false, 0.0, 0.0, wz};
  // Behind the eye the perspective division flips the depth beyond 1; such a sun may
  // still project onto the screen and must not count.
  if (width <= 0 || height <= 0 || !std::isfinite(wx) || !std::isfinite(wy) || !std::isfinite(wz) || wz > 1.0)
    return image;
  image.inFront = true;
  image.ndcX = 2.0 * wx / width - 1.0;
  image.ndcY = 2.0 * wy / height - 1.0;
  return image;
}

int RingSamplePixels(double ndcX, double ndcY, int width, int height, RingSample out[kRingSampleCount]) {
  int count = 0;
  for (int k = 0; k < kRingSampleCount; ++k) {
    const double theta = k * kPi / 64.0;
    const double px = ndcX + kRingRadius * std::cos(theta);
    const double py = ndcY + kRingRadius * std::sin(theta);
    if (!(px >= -1.0 && px < 1.0 && py >= -1.0 && py < 1.0)) continue;
    // (p + 1) / 2 of a p just below 1 can round up to exactly 1, one pixel past the edge.
    const int x = std::min(static_cast<int>(std::floor((px + 1.0) * 0.5 * width)), width - 1);
    const int y = std::min(static_cast<int>(std::floor((py + 1.0) * 0.5 * height)), height - 1);
    out[count++] = RingSample{std::max(x, 0), std::max(y, 0)};
  }
  return count;
}

double FlareStrength(double visibleFraction) { return kMaximumStrength * visibleFraction; }

double FlareOrientation(double ndcX, double ndcY) { return std::atan2(ndcY, ndcX) - 3.0 * kPi / 4.0; }

int FlareQuads(double ndcX, double ndcY, double visibleFraction, double aspect,
               FlareQuad out[kFlareElementCount + 1]) {
  const double v = visibleFraction;
  const double strength = FlareStrength(v);
  if (!(strength > 0.0)) return 0;
  const double angle = FlareOrientation(ndcX, ndcY);
  for (int i = 0; i < kFlareElementCount; ++i) {
    const FlareElement& e = kFlareElements[i];
    FlareQuad& q = out[i];
    q.x = e.position * ndcX;
    q.y = e.position * ndcY;
    q.angle = angle;
    q.cornerX = strength * e.width;
    q.cornerY = aspect * strength * e.height;
    q.alpha = strength * e.alpha;
    q.textureIndex = e.picture - 1;
    // Covering the sun slides every colour towards orange (1, 0.5, 0).
    q.red = static_cast<float>(e.red + (1.0 - e.red) * (1.0 - v));
    q.green = static_cast<float>(e.green + (0.5 - e.green) * (1.0 - v));
    q.blue = static_cast<float>(e.blue * v);
  }
  // The streak lies flat across the screen (phi = -pi/4 puts the picture's s axis
  // horizontal) and keeps its length; only its opacity and colour follow the sun.
  const FlareElement& streak = kFlareElements[kFlareElementCount];
  FlareQuad& q = out[kFlareElementCount];
  q.x = ndcX;
  q.y = ndcY;
  q.angle = -kPi / 4.0;
  q.cornerX = streak.width;
  q.cornerY = streak.height * aspect;
  q.alpha = strength;
  q.textureIndex = streak.picture - 1;
  q.red = 1.0f;
  q.green = static_cast<float>(0.5 + 0.5 * v);
  q.blue = static_cast<float>(v);
  return kFlareElementCount + 1;
}

void FlareQuadCorners(double x, double y, double angle, double cornerX, double cornerY, FlareCorner out[4]) {
  // The corners sit on the two diagonals turned by the angle; x distances scale by X and y
  // distances by Y, so a square element stays square in pixels when Y = aspect X.
  const double c = std::cos(angle), s = std::sin(angle);
  out[0] = FlareCorner{1.0, 0.0, x + cornerX * c, y + cornerY * s};
  out[1] = FlareCorner{1.0, 1.0, x - cornerX * s, y + cornerY * c};
  out[2] = FlareCorner{0.0, 1.0, x - cornerX * c, y - cornerY * s};
  out[3] = FlareCorner{0.0, 0.0, x + cornerX * s, y - cornerY * c};
}

double FlareQuadPixels(const FlareCorner corners[4], int width, int height) {
  // The corners form a parallelogram: the two edges from the (0, 0) corner span it.
  const double ax = corners[0].x - corners[3].x, ay = corners[0].y - corners[3].y;
  const double bx = corners[2].x - corners[3].x, by = corners[2].y - corners[3].y;
  return std::fabs(ax * by - ay * bx) * (0.5 * width) * (0.5 * height);
}
