#pragma once
// The star catalogue: the star list read once at start-up from the archive member
// "stars.dat" into records that the scene's buffer list owns, and the display list the star
// field is compiled into (scene/star_field.h).
#include <cstddef>
#include <cstdint>
#include <functional>

#include "scene/gl_objects.h"
#include "scene/scene_load_error.h"
#include "scene/star_list.h"

class SceneBuffers;
class SceneHost;

struct StarCatalogue {
  const StarRecord* records = nullptr;  // in the scene's buffer list; none until loaded
  int32_t count = 0;
  GlList starList;  // none until compiled

  // With the context current: deletes the list; the records stay with the buffer list.
  void Release() { starList.Release(); }
  // The records are gone with the buffer list: nothing left to compile from.
  void ForgetRecords() {
    records = nullptr;
    count = 0;
  }
};

// Once, after the other resources: opens the archive through `host` and reads "stars.dat"
// into `catalogue`, its records kept in `buffers`. On failure the catalogue stays empty:
// ArchiveUnreadable, StarsUnreadable (missing or empty member) or StarsMemory.
SceneLoadResult LoadStarCatalogue(StarCatalogue& catalogue, SceneHost& host, SceneBuffers& buffers);

// The part after extraction: counts the lines of `text`, asks `allocate` for that many
// records and parses into them. Kept apart so that a refusing heap can be tried.
using StarArrayAllocator = std::function<StarRecord*(size_t count)>;
SceneLoadResult StoreStarCatalogue(const char* text, size_t size, const StarArrayAllocator& allocate,
                                   StarCatalogue& catalogue);
