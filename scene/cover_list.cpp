#include "scene/cover_list.h"

#include "scene/gl.h"

GlList CompileCoverList(const PictureCover& cover) {
  GlList list;
  if (cover.whole) return list;
  list.Compile([&cover] {
    glBegin(GL_TRIANGLES);
    for (const CoverPoint& p : cover.triangles) {
      glTexCoord2d(p.s, p.t);
      glVertex2d(p.s, p.t);
    }
    glEnd();
  });
  return list;
}
