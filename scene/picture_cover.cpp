#include "scene/picture_cover.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kFinestSectors = 64;
constexpr int kSolidCoverSides = 16;

// Coordinates centred on the picture: u = 2s - 1, v = 2t - 1, both -1..1.
struct Point {
  double u, v;
};

bool ChangesAPixel(const uint8_t* texel, PictureBlend blend) {
  if (blend == PictureBlend::Adds) return std::max({texel[0], texel[1], texel[2]}) > 1;
  return std::min({texel[0], texel[1], texel[2]}) < 254;
}

// The nearest and farthest reach of the texels that fall into one sector.
struct Sector {
  double inner = std::numeric_limits<double>::infinity();
  double outer = -1.0;
  bool used() const { return outer >= 0.0; }
};

// Linear filtering reads a texel for every sample less than one texel away from its
// centre on both axes: a square around it, which lies within `reach` of the centre.
void MarkReach(double u, double v, double reach, std::vector<Sector>& sectors) {
  const int count = static_cast<int>(sectors.size());
  const double r = std::hypot(u, v);
  const double inner = std::max(r - reach, 0.0);
  const double outer = r + reach;
  int first = 0, last = count - 1;
  if (r > reach) {
    const double step = 2.0 * kPi / count;
    const double centre = std::atan2(v, u);
    const double half = std::asin(reach / r);
    first = static_cast<int>(std::floor((centre - half) / step));
    last = static_cast<int>(std::floor((centre + half) / step));
  }
  for (int k = first; k <= last; ++k) {
    Sector& sector = sectors[static_cast<size_t>(((k % count) + count) % count)];
    sector.inner = std::min(sector.inner, inner);
    sector.outer = std::max(sector.outer, outer);
  }
}

// Where the edge between two points crosses the line u = c, or v = c when `alongV`.
// The points are taken in a fixed order, so the two pieces that share an edge, which
// run along it in opposite directions, get the very same point.
Point Crossing(Point a, Point b, bool alongV, double c) {
  if (b.u < a.u || (b.u == a.u && b.v < a.v)) std::swap(a, b);
  const double from = alongV ? a.v : a.u;
  const double to = alongV ? b.v : b.u;
  const double f = (c - from) / (to - from);
  Point p{a.u + f * (b.u - a.u), a.v + f * (b.v - a.v)};
  (alongV ? p.v : p.u) = c;
  return p;
}

// One side of the square: keeps the part of the polygon where sign * coordinate <= 1.
std::vector<Point> ClipSide(const std::vector<Point>& polygon, bool alongV, double sign) {
  std::vector<Point> out;
  const size_t n = polygon.size();
  auto inside = [&](const Point& p) { return sign * (alongV ? p.v : p.u) <= 1.0; };
  for (size_t i = 0; i < n; ++i) {
    const Point& a = polygon[i];
    const Point& b = polygon[(i + 1) % n];
    if (inside(a)) out.push_back(a);
    if (inside(a) != inside(b)) out.push_back(Crossing(a, b, alongV, sign));
  }
  return out;
}

std::vector<Point> ClipToSquare(std::vector<Point> polygon) {
  for (bool alongV : {false, true})
    for (double sign : {1.0, -1.0}) polygon = ClipSide(polygon, alongV, sign);
  std::vector<Point> out;
  for (const Point& p : polygon)
    if (out.empty() || p.u != out.back().u || p.v != out.back().v) out.push_back(p);
  while (out.size() > 1 && out.front().u == out.back().u && out.front().v == out.back().v) out.pop_back();
  return out;
}

double Area(const std::vector<Point>& polygon) {
  double twice = 0.0;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const Point& a = polygon[i];
    const Point& b = polygon[(i + 1) % polygon.size()];
    twice += a.u * b.v - b.u * a.v;
  }
  return twice / 2.0;
}

// The polygon of `sides` edges, evenly turned, that circumscribes the points: each edge on
// the line that touches them from its direction. Far fewer and fatter triangles than a
// ring of sectors, for covers that are nearly solid (a disc).
std::vector<Point> Circumscribed(const std::vector<Point>& points, int sides) {
  std::vector<double> reach(static_cast<size_t>(sides), -std::numeric_limits<double>::infinity());
  const double step = 2.0 * kPi / sides;
  for (int j = 0; j < sides; ++j) {
    const double c = std::cos(j * step), s = std::sin(j * step);
    double& farthest = reach[static_cast<size_t>(j)];
    for (const Point& p : points) farthest = std::max(farthest, p.u * c + p.v * s);
  }
  std::vector<Point> polygon;
  for (int j = 0; j < sides; ++j) {
    const double a = j * step, b = (j + 1) * step;
    const double ha = reach[static_cast<size_t>(j)], hb = reach[static_cast<size_t>((j + 1) % sides)];
    const double det = std::sin(b - a);
    polygon.push_back(Point{(ha * std::sin(b) - hb * std::sin(a)) / det, (hb * std::cos(a) - ha * std::cos(b)) / det});
  }
  return polygon;
}

// The pieces of a ring of sectors: each from its inner to its outer limit, clipped to
// the square. Each ray between two sectors reaches from the nearer inner to the farther
// outer limit of the two, so neighbours share the ray's corners. The outer corners stand
// out by 1 / cos(half a sector) so that the straight edge between them clears the arc.
std::vector<std::vector<Point>> SectorPieces(const std::vector<Sector>& sectors) {
  const int count = static_cast<int>(sectors.size());
  const double step = 2.0 * kPi / count;
  const double widen = 1.0 / std::cos(step / 2.0);
  std::vector<Point> inner(sectors.size()), outer(sectors.size());
  for (int k = 0; k < count; ++k) {
    double near = std::numeric_limits<double>::infinity(), far = 0.0;
    for (const Sector* s : {&sectors[static_cast<size_t>((k + count - 1) % count)], &sectors[static_cast<size_t>(k)]})
      if (s->used()) {
        near = std::min(near, s->inner);
        far = std::max(far, s->outer);
      }
    if (!std::isfinite(near)) continue;
    const double c = std::cos(k * step), s = std::sin(k * step);
    inner[static_cast<size_t>(k)] = Point{near * c, near * s};
    outer[static_cast<size_t>(k)] = Point{far * widen * c, far * widen * s};
  }
  std::vector<std::vector<Point>> pieces;
  for (int k = 0; k < count; ++k) {
    if (!sectors[static_cast<size_t>(k)].used()) continue;
    const size_t a = static_cast<size_t>(k), b = static_cast<size_t>((k + 1) % count);
    std::vector<Point> piece = ClipToSquare({inner[a], outer[a], outer[b], inner[b]});
    if (piece.size() >= 3 && Area(piece) > 0.0) pieces.push_back(std::move(piece));
  }
  return pieces;
}

// The corners first..last of a convex piece, whose chord first-last is an edge or drawn
// already: the triangle to the middle corner, then the two sides of it. Fat triangles,
// where a fan from one corner would make thin ones.
void FatTriangles(const std::vector<Point>& piece, size_t first, size_t last, std::vector<Point>& out) {
  if (last < first + 2) return;
  const size_t middle = (first + last) / 2;
  out.insert(out.end(), {piece[first], piece[middle], piece[last]});
  FatTriangles(piece, first, middle, out);
  FatTriangles(piece, middle, last, out);
}

double Distance(const Point& a, const Point& b) { return std::hypot(a.u - b.u, a.v - b.v); }

// A candidate: its triangles and what drawing them costs, in parts of the square's fill.
// A software rasteriser shades the pixels along every triangle edge on both sides, so
// each unit of triangle edge (in sides of the square) costs about kEdgeCost of its fill.
struct Candidate {
  std::vector<Point> triangles;
  double area = 0.0;
  double cost = 0.0;
};
constexpr double kEdgeCost = 0.01;

Candidate FromPieces(const std::vector<std::vector<Point>>& pieces) {
  Candidate candidate;
  double edges = 0.0;
  for (const std::vector<Point>& piece : pieces) {
    candidate.area += Area(piece) / 4.0;  // the square is 2 x 2 in u, v
    const size_t first = candidate.triangles.size();
    FatTriangles(piece, 0, piece.size() - 1, candidate.triangles);
    const std::vector<Point>& corners = candidate.triangles;
    for (size_t t = first; t < corners.size(); t += 3)
      for (size_t e = 0; e < 3; ++e) edges += Distance(corners[t + e], corners[t + (e + 1) % 3]) / 2.0;
  }
  candidate.cost = candidate.area + kEdgeCost * edges;
  return candidate;
}

}  // namespace

PictureCover CoverOf(const Image& image, PictureBlend blend) {
  PictureCover cover;
  const int channels = image.bitsPerPixel / 8;
  if (!image.pixels || image.width <= 0 || image.height <= 0 || channels < 3) return cover;

  // Sectors at the finest division; coarser ones are unions of neighbours.
  std::vector<Sector> sectors(static_cast<size_t>(kFinestSectors));
  const double du = 2.0 / image.width, dv = 2.0 / image.height;
  const double reach = std::hypot(du, dv);
  const uint8_t* texel = image.pixels.get();
  bool any = false;
  for (int32_t row = 0; row < image.height; ++row)
    for (int32_t column = 0; column < image.width; ++column, texel += channels) {
      if (!ChangesAPixel(texel, blend)) continue;
      MarkReach((column + 0.5) * du - 1.0, (row + 0.5) * dv - 1.0, reach, sectors);
      any = true;
    }
  cover.whole = false;
  cover.area = 0.0;
  if (!any) return cover;

  // The whole square: two triangles along a diagonal.
  Candidate best;
  best.area = 1.0;
  best.cost = 1.0 + kEdgeCost * (4.0 + 2.0 * std::sqrt(2.0));
  for (int count = kFinestSectors; count >= 8; count /= 2) {
    std::vector<Sector> coarse(static_cast<size_t>(count));
    const int merged = kFinestSectors / count;
    for (int k = 0; k < kFinestSectors; ++k) {
      const Sector& fine = sectors[static_cast<size_t>(k)];
      if (!fine.used()) continue;
      Sector& target = coarse[static_cast<size_t>(k / merged)];
      target.inner = std::min(target.inner, fine.inner);
      target.outer = std::max(target.outer, fine.outer);
    }
    const std::vector<std::vector<Point>> pieces = SectorPieces(coarse);
    Candidate ring = FromPieces(pieces);
    if (ring.cost < best.cost) best = std::move(ring);
    // The same as one polygon around it, for a cover that is nearly solid (a disc).
    std::vector<Point> corners;
    for (const std::vector<Point>& piece : pieces) corners.insert(corners.end(), piece.begin(), piece.end());
    const std::vector<Point> around = ClipToSquare(Circumscribed(corners, kSolidCoverSides));
    if (around.size() >= 3 && Area(around) > 0.0) {
      Candidate solid = FromPieces({around});
      if (solid.cost < best.cost) best = std::move(solid);
    }
  }
  if (best.triangles.empty()) {
    cover.whole = true;
    cover.area = 1.0;
    return cover;
  }
  cover.area = best.area;
  for (const Point& p : best.triangles) cover.triangles.push_back(CoverPoint{(p.u + 1.0) / 2.0, (p.v + 1.0) / 2.0});
  return cover;
}
