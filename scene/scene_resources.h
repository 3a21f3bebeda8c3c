#pragma once
// Loading what the scene draws from the resource archive (all but the star list): the
// flare pictures, the planet's clouds and surface, the moon's texture and shape, in that
// order, stopping at the first failure.
#include "scene/scene_load_error.h"

struct Scene;
class SceneHost;

// Once, with the rendering context current; opens the archive through `host`.
SceneLoadResult LoadSceneResources(Scene& scene, SceneHost& host);

// Frees the retained pixel buffers and star records; the rendering window calls it when it
// is destroyed.
void ReleaseSceneBuffers(Scene& scene);
