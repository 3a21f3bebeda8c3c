#include "scene/cover_list.h"

#include "scene/gl.h"

unsigned int CompileCoverList(const PictureCover& cover) {
  if (cover.whole) return 0;
  const GLuint list = glGenLists(1);
  if (list == 0) return 0;
  glNewList(list, GL_COMPILE);
  glBegin(GL_TRIANGLES);
  for (const CoverPoint& p : cover.triangles) {
    glTexCoord2d(p.s, p.t);
    glVertex2d(p.s, p.t);
  }
  glEnd();
  glEndList();
  return list;
}
