#include "scene/sun_occlusion.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Vec {
  double x, y, z;
};
Vec Sub(const Vec& a, const Vec& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec Cross(const Vec& a, const Vec& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The world point in the body's own coordinates: the drawing's placement undone.
Vec ToLocal(const double world[3], const BodyPlacement& place) {
  const double angle = -place.spinDegrees * kPi / 180.0;
  const double c = std::cos(angle), s = std::sin(angle);
  const double x = world[0] - place.centre[0], y = world[1] - place.centre[1], z = world[2] - place.centre[2];
  return {(c * x - s * y) / place.scale, (s * x + c * y) / place.scale, z / place.scale};
}

struct LocalLine {
  Vec from, direction;  // points from + t direction, 0 <= t <= 1
};

// Whether the line crosses the triangle (a, b, c) while entering it from the side its
// counter-clockwise face looks to, that is the triangle is drawn facing the eye there.
bool CrossesFrontFace(const LocalLine& line, const Vec& a, const Vec& b, const Vec& c) {
  const Vec ab = Sub(b, a), ac = Sub(c, a);
  if (Dot(Cross(ab, ac), line.direction) >= 0.0) return false;  // back face (culled) or edge-on
  const Vec p = Cross(line.direction, ac);
  const double determinant = Dot(ab, p);
  if (determinant == 0.0) return false;
  const double inverse = 1.0 / determinant;
  const Vec toFrom = Sub(line.from, a);
  const double u = Dot(toFrom, p) * inverse;
  if (u < 0.0 || u > 1.0) return false;
  const Vec q = Cross(toFrom, ab);
  const double v = Dot(line.direction, q) * inverse;
  if (v < 0.0 || u + v > 1.0) return false;
  const double t = Dot(ac, q) * inverse;
  return t >= 0.0 && t <= 1.0;
}

// Distance from the body's centre (the local origin) to the nearest point of the line.
double ClosestApproach(const LocalLine& line) {
  const double length2 = Dot(line.direction, line.direction);
  const double t = length2 > 0.0 ? std::clamp(-Dot(line.from, line.direction) / length2, 0.0, 1.0) : 0.0;
  const Vec nearest{line.from.x + t * line.direction.x, line.from.y + t * line.direction.y,
                    line.from.z + t * line.direction.z};
  return std::sqrt(Dot(nearest, nearest));
}

// Calls `visit(a, b, c)` for every triangle of the surface grid in the corners' drawing
// order (scene/sphere_mesh.cpp): four quarters, each grid quad split along the diagonal from
// its first corner.
template <class Visit>
bool ForEachSurfaceTriangle(const SphereMesh& mesh, Visit visit) {
  struct Quarter {
    double xy, z;
    bool mirrored;
  };
  constexpr Quarter kQuarters[4] = {{1.0, 1.0, false}, {-1.0, 1.0, false}, {1.0, -1.0, true}, {-1.0, -1.0, true}};
  if (!mesh.HasGrid()) return false;
  for (const Quarter& quarter : kQuarters) {
    auto point = [&](int32_t j, int32_t i) {
      const SphereVertex& v = mesh.At(j, i);
      return Vec{quarter.xy * v.x, quarter.xy * v.y, quarter.z * v.z};
    };
    for (int32_t j = 0; j + 1 < mesh.rows(); ++j)
      for (int32_t i = 0; i + 1 < mesh.columns(); ++i) {
        Vec quad[4];
        if (!quarter.mirrored) {
          quad[0] = point(j, i), quad[1] = point(j, i + 1), quad[2] = point(j + 1, i + 1), quad[3] = point(j + 1, i);
        } else {
          quad[0] = point(j + 1, i), quad[1] = point(j + 1, i + 1), quad[2] = point(j, i + 1), quad[3] = point(j, i);
        }
        if (visit(quad[0], quad[1], quad[2]) || visit(quad[0], quad[2], quad[3])) return true;
      }
  }
  return false;
}

Vec ShapePoint(const ShapeVertex& v) { return {v.position[0], v.position[1], v.position[2]}; }

}  // namespace

SunOccluders::SunOccluders(const SphereMesh& surface, const BodyPlacement& surfacePlace, const ShapeMesh& moon,
                           const BodyPlacement& moonPlace)
    : surface_(surface), moon_(moon) {
  surfaceBody_.place = surfacePlace;
  moonBody_.place = moonPlace;
}

// Once, on the first line asked about: most frames have no sun in view and ask nothing.
void SunOccluders::MeasureBodies() const {
  measured_ = true;
  // The grid is convex: a line that comes nearer its centre than its nearest face plane
  // enters it, whichever face it crosses. Only lines grazing the limb need the faces.
  double inner = HUGE_VAL, outer = 0.0;
  ForEachSurfaceTriangle(surface_, [&](const Vec& a, const Vec& b, const Vec& c) {
    const Vec normal = Cross(Sub(b, a), Sub(c, a));
    const double length = std::sqrt(Dot(normal, normal));
    if (length > 0.0) inner = std::min(inner, std::fabs(Dot(normal, a)) / length);  // poles: degenerate
    outer = std::max({outer, Dot(a, a), Dot(b, b), Dot(c, c)});
    return false;
  });
  surfaceBody_.innerRadius = inner == HUGE_VAL ? 0.0 : inner;
  surfaceBody_.outerRadius = std::sqrt(outer);
  // The moon's shape is not convex: every line near it is tested against its faces.
  double moonOuter = 0.0;
  const size_t vertexCount = static_cast<size_t>(moon_.triangleCount()) * 3;
  for (size_t k = 0; k < vertexCount; ++k) {
    const Vec p = ShapePoint(moon_.vertices()[k]);
    moonOuter = std::max(moonOuter, Dot(p, p));
  }
  moonBody_.outerRadius = std::sqrt(moonOuter);
}

bool SunOccluders::Hides(const SightLine& line) const {
  if (!measured_) MeasureBodies();
  auto local = [&line](const Body& body) {
    const Vec from = ToLocal(line.from, body.place), to = ToLocal(line.to, body.place);
    return LocalLine{from, Sub(to, from)};
  };
  const LocalLine onSurface = local(surfaceBody_);
  const double surfaceApproach = ClosestApproach(onSurface);
  if (surfaceApproach <= surfaceBody_.outerRadius) {
    const bool startsOutside = std::sqrt(Dot(onSurface.from, onSurface.from)) > surfaceBody_.outerRadius;
    if (startsOutside && surfaceApproach < surfaceBody_.innerRadius) return true;
    if (ForEachSurfaceTriangle(surface_, [&onSurface](const Vec& a, const Vec& b, const Vec& c) {
          return CrossesFrontFace(onSurface, a, b, c);
        }))
      return true;
  }
  const LocalLine onMoon = local(moonBody_);
  if (moon_.triangleCount() == 0 || ClosestApproach(onMoon) > moonBody_.outerRadius) return false;
  const ShapeVertex* vertices = moon_.vertices();
  for (int32_t k = 0; k < moon_.triangleCount(); ++k) {
    const ShapeVertex* corner = vertices + static_cast<size_t>(k) * 3;
    if (CrossesFrontFace(onMoon, ShapePoint(corner[0]), ShapePoint(corner[1]), ShapePoint(corner[2]))) return true;
  }
  return false;
}
