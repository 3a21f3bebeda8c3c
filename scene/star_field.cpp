#include "scene/star_field.h"

#include <algorithm>
#include <cmath>

#include "scene/gl.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Base colours of the classes O, B, A, F, G, K, M on a 0..255 scale.
constexpr unsigned char kClassColours[7][3] = {
    {219, 244, 254}, {239, 252, 254}, {252, 254, 243}, {255, 254, 202},
    {255, 246, 158}, {255, 218, 133}, {255, 177, 128},
};

float Channel(unsigned char base, double brightness) {
  const double value = base * 0.003906 * brightness * 1.5;
  return static_cast<float>(std::clamp(value, 0.0, 1.0));
}

// The model-view-projection of the sky's sphere: clip coordinates of a unit direction.
struct SkyProjection {
  double m[16];  // column-major, as OpenGL keeps matrices
  int width, height;

  SkyProjection() {
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    width = viewport[2];
    height = viewport[3];
    for (int column = 0; column < 4; ++column)
      for (int row = 0; row < 4; ++row) {
        double sum = 0.0;
        for (int k = 0; k < 4; ++k) sum += projection[k * 4 + row] * model[column * 4 + k];
        m[column * 4 + row] = sum * (column < 3 ? kStarSphereRadius : 1.0);
      }
  }
  void Clip(const double d[3], double clip[4]) const {
    for (int row = 0; row < 4; ++row) clip[row] = m[row] * d[0] + m[4 + row] * d[1] + m[8 + row] * d[2] + m[12 + row];
  }
};

// A point size cannot change inside glBegin/glEnd, so a star whose size differs from the
// one sent before it starts a GL_POINTS block of its own; a run of equal sizes shares one.
void SendStars(const StarCatalogue& catalogue, const SkyProjection& sky) {
  bool open = false;
  float size = 0.0f;
  for (const StarPoint& point : catalogue.points) {
    double clip[4];
    sky.Clip(point.direction, clip);
    if (!StarMayShow(clip, point.size, sky.width, sky.height)) continue;
    if (!open || point.size != size) {
      if (open) glEnd();
      size = point.size;
      glPointSize(size);
      glBegin(GL_POINTS);
      open = true;
    }
    glColor4f(point.red, point.green, point.blue, 1.0f);
    glVertex3d(point.direction[0], point.direction[1], point.direction[2]);
  }
  if (open) glEnd();
}

}  // namespace

StarPoint StarPointFor(const StarRecord& star) {
  // Magnitude -1.5 gives full brightness, each magnitude fainter a tenth less; a star
  // fainter than 8.5 would come out black.
  const double brightness = 1.0 - (star.magnitude + 1.5) * 0.1;
  const int colourClass = star.colourClass >= 0 && star.colourClass < 7 ? star.colourClass : 3;
  const unsigned char* base = kClassColours[colourClass];
  StarPoint point;
  point.red = Channel(base[0], brightness);
  point.green = Channel(base[1], brightness);
  point.blue = Channel(base[2], brightness);
  point.size = static_cast<float>(std::max(5.0 - star.magnitude, 2.0));
  const double latitude = star.declination * 0.01 * kPi;
  const double longitude = 2.0 * (star.rightAscension * 0.01 * kPi);
  point.direction[0] = std::cos(latitude) * std::cos(longitude);
  point.direction[1] = std::cos(latitude) * std::sin(longitude);
  point.direction[2] = std::sin(latitude);
  return point;
}

bool StarMayShow(const double clip[4], double size, int width, int height) {
  const double w = clip[3];
  if (!(w > 0.0) || width <= 0 || height <= 0) return false;  // behind the eye
  // Half the point and a pixel of rounding, in normalised device units on each axis.
  const double reachX = 1.0 + (size + 2.0) / width, reachY = 1.0 + (size + 2.0) / height;
  return std::fabs(clip[0]) <= reachX * w && std::fabs(clip[1]) <= reachY * w && std::fabs(clip[2]) <= 1.001 * w;
}

void PrepareStarField(StarCatalogue& catalogue) {
  if (!catalogue.records || !catalogue.points.empty()) return;
  catalogue.points.reserve(static_cast<size_t>(catalogue.count));
  for (int32_t i = 0; i < catalogue.count; ++i) catalogue.points.push_back(StarPointFor(catalogue.records[i]));
}

void DrawStarField(StarCatalogue& catalogue) {
  if (!catalogue.records) return;
  PrepareStarField(catalogue);
  const SkyProjection sky;
  glPushAttrib(GL_CURRENT_BIT | GL_LIGHTING_BIT | GL_ENABLE_BIT | GL_TEXTURE_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glPushMatrix();
  glScaled(kStarSphereRadius, kStarSphereRadius, kStarSphereRadius);
  glEnable(GL_POINT_SMOOTH);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // stars add their light to what lies behind
  SendStars(catalogue, sky);
  glPopMatrix();
  glPopAttrib();
}
