#pragma once
// The lens flare's arithmetic, free of OpenGL: the element table, the ring of samples
// around the sun's image, the strength and colour rules and the corners of one quad.
//
// Coordinates are normalised device coordinates (-1..1 across the viewport). The flare is
// a chain of elements on the line from the sun's image through the screen centre: an
// element at position p sits at p times the sun's position (1 on the sun, 0 at the centre,
// negative beyond it). The visible fraction v of the sun comes from a ring of 128 samples
// around the sun (scene/sun_occlusion.h); the strength I = 0.3 v scales every element's size
// and opacity, and the colours slide towards orange (1, 0.5, 0) as v falls.
#include <cstddef>

struct FlareElement {
  double position;  // along the chain: 1 on the sun, 0 at the screen centre
  double width;     // corner distance in x, times the strength
  double height;    // corner distance in y, times the strength and the aspect
  double alpha;     // opacity, times the strength
  int picture;      // n of flare<n>.jpg, that is flareTextures[n - 1]
  float red, green, blue;  // colour while the sun is fully visible
};

inline constexpr int kFlareElementCount = 27;
// The 27 elements in drawing order, then the streak (drawn by its own rule).
extern const FlareElement kFlareElements[kFlareElementCount + 1];

inline constexpr int kRingSampleCount = 128;
inline constexpr double kRingRadius = 0.05;  // in normalised device units
inline constexpr double kMaximumStrength = 0.3;

// The sun's image on the viewport, from its window coordinates (gluProject).
struct SunImage {
  bool inFront;  // false when the sun lies behind the eye or beyond the far plane (wz > 1)
  double ndcX, ndcY;
  double depth;  // wz, the window depth of the sun's centre
};
SunImage SunImageFromWindow(double wx, double wy, double wz, int width, int height);

// A ring sample that lies on the viewport, as the pixel whose centre's line of sight decides it.
struct RingSample {
  int x, y;
};
// The pixels of the samples that lie on the viewport (-1 <= p < 1 on both axes), in ring
// order; returns their number. Pixels are held inside the viewport even where rounding of
// a sample just below 1 would reach the next pixel.
int RingSamplePixels(double ndcX, double ndcY, int width, int height, RingSample out[kRingSampleCount]);

// One quad of the flare, ready for DrawFlareQuad.
struct FlareQuad {
  double x, y;      // centre
  double angle;     // orientation phi, radians
  double cornerX;   // corner distance along x (X)
  double cornerY;   // corner distance along y (Y)
  double alpha;
  int textureIndex;  // into flareTextures
  float red, green, blue;
};

double FlareStrength(double visibleFraction);
// atan2(ndcY, ndcX) - 3 pi / 4: turns each element's t axis onto the ray from the centre
// towards the sun.
double FlareOrientation(double ndcX, double ndcY);

// The 27 elements and the streak for a sun at (ndcX, ndcY) with visible fraction v on a
// viewport of the given aspect (width / height); returns 28, or 0 when the strength is
// not positive (nothing to draw).
int FlareQuads(double ndcX, double ndcY, double visibleFraction, double aspect,
               FlareQuad out[kFlareElementCount + 1]);

// The four corners of a flare quad in drawing order (counter-clockwise), each with its
// texture coordinate: (1, 0), (1, 1), (0, 1), (0, 0).
struct FlareCorner {
  double s, t;
  double x, y;
};
void FlareQuadCorners(double x, double y, double angle, double cornerX, double cornerY, FlareCorner out[4]);

// Pixels a quad with these corners covers on a viewport of the given size, off-screen parts
// included.
double FlareQuadPixels(const FlareCorner corners[4], int width, int height);
inline constexpr double kCoveredQuadPixels = 128.0 * 128.0;
