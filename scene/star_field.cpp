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

// The list's body. A point size cannot change inside glBegin/glEnd, so a star whose size
// differs from the one before starts a GL_POINTS block of its own; a run of stars of equal
// size shares one. Every star of magnitude 3 or fainter is 2 pixels wide, so the shipped
// list of 9,096 stars becomes 336 blocks instead of 9,096: the same points in the same
// order with the same sizes and colours, at a fraction of the per-block cost that a
// software renderer pays on every replay.
void EmitStars(const StarCatalogue& catalogue) {
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glPushMatrix();
  glScaled(kStarSphereRadius, kStarSphereRadius, kStarSphereRadius);
  glEnable(GL_POINT_SMOOTH);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // stars add their light to what lies behind
  glPointSize(1.0f);
  bool open = false;
  float size = 0.0f;
  for (int32_t i = 0; i < catalogue.count; ++i) {
    const StarPoint point = StarPointFor(catalogue.records[i]);
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
  glPopMatrix();
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

void CompileStarField(StarCatalogue& catalogue) {
  if (!catalogue.records) return;
  catalogue.starList.Compile([&catalogue] { EmitStars(catalogue); });
}

void DrawStarField(StarCatalogue& catalogue) {
  if (!catalogue.records) return;
  glPushAttrib(GL_CURRENT_BIT | GL_LIGHTING_BIT | GL_ENABLE_BIT | GL_TEXTURE_BIT);
  catalogue.starList.Draw([&catalogue] { EmitStars(catalogue); });
  glPopAttrib();
}
