#include "scene/quadric_sphere.h"

#include "scene/gl.h"

void SendQuadricSphere(double radius, int slices, int stacks, bool textured) {
  GLUquadric* quadric = gluNewQuadric();
  if (!quadric) return;
  gluQuadricDrawStyle(quadric, GLU_FILL);
  if (textured) gluQuadricTexture(quadric, GL_TRUE);
  gluSphere(quadric, radius, slices, stacks);
  gluDeleteQuadric(quadric);
}
