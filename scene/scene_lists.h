#pragma once
// The scene's fixed geometry, compiled into display lists once at the scene's start and
// replayed every frame: the sun's sphere, the two cloud shells and the planet's surface
// grid (its four textures bound inside the list). The star field and the moon keep lists
// of their own. A list name of 0 means "not compiled": the geometry is then sent directly,
// so that drawing works before (and without) the start.
struct Scene;

struct SceneLists {
  unsigned int sun = 0;
  unsigned int innerShell = 0;
  unsigned int outerShell = 0;
  unsigned int surface = 0;
};

// With the context current, after the resources are loaded: builds the surface grid if
// still pending and compiles every fixed list of the scene that is not yet compiled,
// including the star field's and the moon's.
void CompileSceneLists(Scene& scene);

// The unlit white sun of radius 6 about the origin, 24 slices and 12 stacks.
void DrawSunSphere(const SceneLists& lists);
// A cloud shell about the planet's centre, 60 slices and 40 stacks with texture
// coordinates; the inner one of radius 1, the outer of 1.007.
void DrawInnerShell(const SceneLists& lists);
void DrawOuterShell(const SceneLists& lists);
// The surface grid with its four textures; builds the grid on the first call when the
// scene's start did not.
void DrawSurface(Scene& scene);
