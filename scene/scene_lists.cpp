#include "scene/scene_lists.h"

#include "scene/gl.h"
#include "scene/scene.h"
#include "scene/star_field.h"

namespace {

constexpr double kSunRadius = 6.0;
constexpr double kInnerShellRadius = 1.0;
constexpr double kOuterShellRadius = 1.007;

void EmitSphere(double radius, int slices, int stacks, bool textured) {
  GLUquadric* quadric = gluNewQuadric();
  if (!quadric) return;
  gluQuadricDrawStyle(quadric, GLU_FILL);
  if (textured) gluQuadricTexture(quadric, GL_TRUE);
  gluSphere(quadric, radius, slices, stacks);
  gluDeleteQuadric(quadric);
}

void EmitSun() { EmitSphere(kSunRadius, 24, 12, false); }
// GLU maps the sphere with t from 0 at z = -radius to 1 at z = +radius and s once around
// the axis, so the top row of the cloud picture lies at the south pole.
void EmitInnerShell() { EmitSphere(kInnerShellRadius, 60, 40, true); }
void EmitOuterShell() { EmitSphere(kOuterShellRadius, 60, 40, true); }

void BuildSurfaceGrid(Scene& scene) {
  if (!scene.planetMeshPending) return;
  scene.planetMesh.Build(1.0, 31, 21);  // an empty mesh just draws no surface
  scene.planetMeshPending = false;
}

template <typename Emit>
void Compile(unsigned int& list, Emit emit) {
  if (list != 0) return;
  const GLuint name = glGenLists(1);
  if (name == 0) return;
  glNewList(name, GL_COMPILE);
  emit();
  glEndList();
  list = name;
}

template <typename Emit>
void CallOrEmit(unsigned int list, Emit emit) {
  if (list != 0)
    glCallList(list);
  else
    emit();
}

}  // namespace

void CompileSceneLists(Scene& scene) {
  SceneLists& lists = scene.lists;
  Compile(lists.sun, EmitSun);
  Compile(lists.innerShell, EmitInnerShell);
  Compile(lists.outerShell, EmitOuterShell);
  BuildSurfaceGrid(scene);
  Compile(lists.surface, [&] { scene.planetMesh.Draw(scene.textures.surfaceTextures); });
  CompileStarField(scene.stars);
  scene.moon.Compile();
}

void DrawSunSphere(const SceneLists& lists) { CallOrEmit(lists.sun, EmitSun); }
void DrawInnerShell(const SceneLists& lists) { CallOrEmit(lists.innerShell, EmitInnerShell); }
void DrawOuterShell(const SceneLists& lists) { CallOrEmit(lists.outerShell, EmitOuterShell); }

void DrawSurface(Scene& scene) {
  BuildSurfaceGrid(scene);
  CallOrEmit(scene.lists.surface, [&] { scene.planetMesh.Draw(scene.textures.surfaceTextures); });
}
