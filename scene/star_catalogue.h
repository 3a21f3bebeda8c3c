#pragma once
// The star catalogue: the star list read once at start-up from the archive member
// "stars.dat" into records that the scene's buffer list owns, and the display list the
// star field is compiled into at the scene's start (or on its first frame).
#include <cstddef>
#include <cstdint>
#include <functional>

#include "scene/star_list.h"

struct Scene;
class SceneHost;

struct StarCatalogue {
  const StarRecord* records = nullptr;  // owned by the scene's buffer list; none until loaded
  int32_t count = 0;
  unsigned int starList = 0;  // display list name; 0 until compiled
};

// Once, after LoadSceneResources: opens the archive through scene.host, reads "stars.dat"
// into scene.stars (records kept in scene.sceneBuffers). On failure the user is told (the
// archive or the member: stop icon; memory: no icon), the run is asked to end, and the
// catalogue stays empty. True when the catalogue is loaded.
bool LoadStarCatalogue(Scene& scene);

// The part after extraction: counts the lines of `text`, asks `allocate` for that many
// records and parses into them. Kept apart so that a refusing heap can be tried.
using StarArrayAllocator = std::function<StarRecord*(size_t count)>;
bool StoreStarCatalogue(SceneHost& host, const char* text, size_t size, const StarArrayAllocator& allocate,
                        StarCatalogue& catalogue);
