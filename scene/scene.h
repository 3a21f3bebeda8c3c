#pragma once
// The scene's conductor: fixed OpenGL state, the light, the projection, the scene clock, the
// camera and the order in which the bodies are drawn each frame. The bodies own what they
// make (textures, display lists, meshes); the scene composes them. World units are planet
// radii: the planet is the unit sphere at the origin with its axis on +z. A scene lives in
// one rendering context; a process may hold several scenes, each in its own context.
#include <cstdint>

#include "scene/camera.h"
#include "scene/camera_tour.h"
#include "scene/gl_objects.h"
#include "scene/lens_flares.h"
#include "scene/moon.h"
#include "scene/planet.h"
#include "scene/scene_buffers.h"
#include "scene/scene_clock.h"
#include "scene/scene_host.h"
#include "scene/scene_load_error.h"
#include "scene/scene_options.h"
#include "scene/star_catalogue.h"

// The sun's fixed world position, which is also the light's.
inline constexpr double kSunPosition[3] = {400.0, 400.0, 100.0};
// The planet's spin about its axis (z).
inline constexpr double kPlanetDegreesPerTime = 2.0;

// Where one view of the scene stands: its clock, camera and tour. Every monitor that shows
// the scene has a view of its own, drawn from the one set of loaded bodies.
struct SceneView {
  double sceneTime = kSceneStartTime;
  SceneClock clock;  // the frames' presentation times
  Camera camera;
  CameraTour tour;  // the tour's frame count, moon-pass progress and the mixed tour's pass flag
};

// The scene is its own first view (the main monitor's).
struct Scene : SceneView {
  SceneOptions options;  // the scene's own copy: random start, speed and camera tour

  LensFlares flares;  // the flare pictures; the planet's limb borrows three of them
  Planet planet;
  Moon moon;
  StarCatalogue stars;  // records in sceneBuffers
  GlList sun;           // the sun's sphere
  SceneBuffers sceneBuffers;  // pixel buffers and records kept until the window goes
};

// Once, with the rendering context current: resources, the fixed geometry's display lists,
// fixed state, projection, light, clock start. Every step runs even after a failed load
// (frames then draw what there is); the result is the first load failure.
SceneLoadResult InitScene(Scene& scene, SceneHost& host, const SceneOptions& options, int width, int height);
// Loading what the scene draws from the resource archive (all but the star list, which
// InitScene reads next): the flare pictures, the planet's clouds and surface, the moon's
// texture and shape, in that order, up to the first failure. Once, with the rendering context
// current; the archive comes from `host`.
SceneLoadResult LoadSceneResources(Scene& scene, SceneHost& host);

// A view that starts where the options say: at a random point drawn from `seed` when the
// random start is on, else at the tour's fixed start (where every view then starts).
SceneView StartView(const SceneOptions& options, uint32_t seed);

// On every size change; a height of 0 counts as 1.
void ResizeScene(Scene& scene, int width, int height);
// Moves `view` to the moment of a frame presented at `seconds` on a monotonic clock:
// SceneTime and the tour go on by the time since the view's previous frame (none for its
// first), so each frame shows its own moment at any frame rate. No OpenGL.
void AdvanceScene(Scene& scene, SceneView& view, double seconds);
inline void AdvanceScene(Scene& scene, double seconds) { AdvanceScene(scene, scene, seconds); }
// One frame of `view` into the back buffer, presented at `seconds`: AdvanceScene, then the
// drawing. The caller swaps.
void DrawFrame(Scene& scene, SceneView& view, double seconds);
inline void DrawFrame(Scene& scene, double seconds) { DrawFrame(scene, scene, seconds); }

// The planet's surface and the moon placed as a frame at `sceneTime` draws them: what can
// hide the sun. Holds references into `scene`.
SunOccluders SunOccludersAt(const Scene& scene, double sceneTime);

// With the scene's rendering context current, before that context is deleted: each body
// deletes the OpenGL objects it made in it, exactly those. A second call, or destroying the
// scene afterwards, makes no OpenGL call at all. The scene draws again only after a new
// InitScene. Pixel buffers stay for ReleaseSceneBuffers.
void ReleaseSceneGLObjects(Scene& scene);

// Frees the retained pixel buffers and star records; the hosts call it when the scene's
// window is destroyed, after its context.
void ReleaseSceneBuffers(Scene& scene);
