#pragma once
// The scene's conductor: fixed OpenGL state, the light, the projection, the scene clock
// and the order in which the bodies are drawn each frame. World units are planet radii:
// the planet is the unit sphere at the origin with its axis on +z.
#include <cstdint>

#include "scene/camera.h"
#include "scene/camera_tour.h"
#include "scene/scene_buffers.h"
#include "scene/scene_clock.h"
#include "scene/scene_host.h"
#include "scene/scene_lists.h"
#include "scene/scene_options.h"
#include "scene/scene_resources.h"
#include "scene/scene_textures.h"
#include "scene/shape_mesh.h"
#include "scene/sphere_mesh.h"
#include "scene/star_catalogue.h"

// The sun's fixed world position, which is also the light's.
inline constexpr double kSunPosition[3] = {400.0, 400.0, 100.0};

struct Scene {
  SceneOptions options;  // the scene's own copy: random start, speed and camera tour
  SceneHost* host = nullptr;
  double sceneTime = kSceneStartTime;
  Camera camera;
  int tourFrame = 0;  // frames of the current tour leg, counted at the start of every frame
  CameraTour tour;    // moon-pass progress and the mixed tour's pass flag

  SceneTextures textures;     // all 0 until LoadSceneResources
  SceneLists lists;           // the fixed geometry, compiled at the scene's start
  SceneBuffers sceneBuffers;  // pixel buffers and records kept until the window goes
  SphereMesh planetMesh;      // the surface grid, built on the first DrawPlanet
  bool planetMeshPending = true;
  ShapeMesh moon;             // phobos2.dat
  StarCatalogue stars;        // stars.dat, records in sceneBuffers
};

// Once, with the rendering context current: resources, the fixed geometry's display lists,
// fixed state, projection, light, clock start.
void InitScene(Scene& scene, SceneHost& host, const SceneOptions& options, int width, int height);
// On every size change; a height of 0 counts as 1.
void ResizeScene(Scene& scene, int width, int height);
// One frame into the back buffer; the caller swaps.
void DrawFrame(Scene& scene);

// With the scene's rendering context current, before that context is deleted: deletes every
// OpenGL object the scene made in it, exactly those (textures, the cover lists, the fixed
// geometry's, the star field's and the moon's lists), and sets their names back to "none".
// A second call, or destroying the scene afterwards, makes no OpenGL call at all. The
// scene draws again only after a new InitScene. Pixel buffers stay for ReleaseSceneBuffers.
void ReleaseSceneGLObjects(Scene& scene);
