#include "scene/limb_glow.h"

#include <algorithm>
#include <cmath>

#include "scene/gl.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegrees = 180.0 / kPi;
// current, point, line, polygon stipple, pixel mode, lighting, fog, depth buffer,
// accumulation buffer, viewport and enable: what the billboard changes and nothing more.
constexpr GLbitfield kBillboardAttributes = 0x2BF7;

struct View {
  GLdouble model[16];
  GLdouble projection[16];
  GLint viewport[4];

  View() {
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
  }
  bool Project(const double p[3], double w[3]) const {
    return gluProject(p[0], p[1], p[2], model, projection, viewport, &w[0], &w[1], &w[2]) == GL_TRUE;
  }
  bool Unproject(double wx, double wy, double wz, double p[3]) const {
    return gluUnProject(wx, wy, wz, model, projection, viewport, &p[0], &p[1], &p[2]) == GL_TRUE;
  }
  // A window depth far in front of the near plane unprojects to within a hair of the eye.
  bool Eye(double e[3]) const { return Unproject(0.0, 0.0, -1000.0, e); }
};

double Dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

bool Normalise(double v[3]) {
  const double length = std::sqrt(Dot(v, v));
  if (!(length > 0.0) || !std::isfinite(length)) return false;
  for (int i = 0; i < 3; ++i) v[i] /= length;
  return true;
}

double CappedAlpha(double alpha) { return std::isfinite(alpha) ? std::min(alpha, 1.0) : 1.0; }

// Alphas of the two glow squares for k = (angle between centre and sun) / (angular radius):
// first = min(0.15 / |k|, 0.5); second = 0.2 / |k - 1| beyond the limb, 0.12 / |k - 1|
// inside it; both held to at most 1, which is where OpenGL saturates them anyway.
struct GlowAlphas {
  double first;
  double second;
};
GlowAlphas LimbGlowAlphas(double k) {
  GlowAlphas alphas;
  alphas.first = k == 0.0 ? 0.5 : std::min(0.15 / std::fabs(k), 0.5);
  const double fromLimb = std::fabs(k - 1.0);
  alphas.second = fromLimb == 0.0 ? 1.0 : CappedAlpha((k > 1.0 ? 0.2 : 0.12) / fromLimb);
  return alphas;
}

}  // namespace

double EyeDepthOfOrigin() {
  GLdouble model[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  return std::fabs(model[14]);
}

double HaloHalfWidth(double size, double d2) { return size / std::sqrt(1.0 - 1.0 / d2); }

void DrawHaloBillboard(const double position[3], double size, double alpha, double turn, unsigned int cover) {
  double window[3], deeper[3], eye[3];
  {
    const View view;
    if (!view.Project(position, window) || !view.Unproject(window[0], window[1], window[2] + 1.0, deeper) ||
        !view.Eye(eye))
      return;
  }
  const double toEye[3] = {eye[0] - position[0], eye[1] - position[1], eye[2] - position[2]};
  const double d2 = Dot(toEye, toEye);
  if (!(d2 > 1.0)) return;
  const double s = HaloHalfWidth(size, d2);

  // q: the line of sight through the position, pointing away from the eye.
  double q[3] = {deeper[0] - position[0], deeper[1] - position[1], deeper[2] - position[2]};
  if (!Normalise(q)) return;

  glPushMatrix();
  glTranslated(position[0], position[1], position[2]);
  // Turn local +z onto the line of sight (about z x q); straight away needs no turn and
  // straight towards the eye a half turn about x.
  if (std::hypot(q[0], q[1]) > 1e-12)
    glRotated(std::acos(std::clamp(q[2], -1.0, 1.0)) * kDegrees, -q[1], q[0], 0.0);
  else if (q[2] < 0.0)
    glRotated(180.0, 1.0, 0.0, 0.0);
  {
    // The screen's upward direction in these local coordinates; local +y is turned onto it.
    const View local;
    double bottom[3], above[3];
    if (local.Unproject(0.0, 0.0, 0.0, bottom) && local.Unproject(0.0, 1.0, 0.0, above)) {
      const double up[2] = {above[0] - bottom[0], above[1] - bottom[1]};
      glRotated(std::atan2(up[1], up[0]) * kDegrees - 90.0 + turn, 0.0, 0.0, 1.0);
    }
  }

  glPushAttrib(kBillboardAttributes);
  glDisable(GL_LIGHTING);
  glEnable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glColor4d(1.0, 1.0, 1.0, alpha);
  if (cover != 0) {
    // The cover's unit square onto the square: texture (s, t) at ((2s - 1) h, (2t - 1) h).
    glTranslated(-s, -s, 0.0);
    glScaled(2.0 * s, 2.0 * s, 1.0);
    glCallList(cover);
    glPopMatrix();
    glPopAttrib();
    return;
  }
  glBegin(GL_QUADS);
  glTexCoord2d(1.0, 0.0);
  glVertex3d(s, -s, 0.0);
  glTexCoord2d(1.0, 1.0);
  glVertex3d(s, s, 0.0);
  glTexCoord2d(0.0, 1.0);
  glVertex3d(-s, s, 0.0);
  glTexCoord2d(0.0, 0.0);
  glVertex3d(-s, -s, 0.0);
  glEnd();
  glPopMatrix();
  glPopAttrib();
}

void DrawLimbGlare(const FlarePicture& glow, const FlarePicture& crescent, const double centre[3], double radius,
                   const double sun[3]) {
  double sunWindow[3], centreWindow[3], eye[3];
  {
    const View view;
    if (!view.Project(sun, sunWindow) || !view.Project(centre, centreWindow) || !view.Eye(eye)) return;
  }
  if (sunWindow[2] > 1.0) return;  // behind the eye or beyond the far plane
  const double psi = std::atan2(sunWindow[1] - centreWindow[1], sunWindow[0] - centreWindow[0]) * kDegrees;

  double toCentre[3] = {centre[0] - eye[0], centre[1] - eye[1], centre[2] - eye[2]};
  double toSun[3] = {sun[0] - eye[0], sun[1] - eye[1], sun[2] - eye[2]};
  const double g = Dot(toCentre, toCentre);
  // The apparent angular radius needs the eye outside the sphere.
  if (!(g > radius * radius) || !Normalise(toCentre) || !Normalise(toSun)) return;
  const double apparentRadius = std::atan((radius / std::sqrt(1.0 - radius * radius / g)) / std::sqrt(g));
  const double separation = std::acos(std::clamp(Dot(toCentre, toSun), -1.0, 1.0));
  const GlowAlphas alphas = LimbGlowAlphas(separation / apparentRadius);

  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glow.texture.Bind();
  DrawHaloBillboard(centre, 1.08, alphas.first, psi - 45.0, glow.cover.name());
  crescent.texture.Bind();
  DrawHaloBillboard(centre, 1.03, alphas.second, psi - 45.0, crescent.cover.name());
}
