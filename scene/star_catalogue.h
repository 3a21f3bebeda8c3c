#pragma once
// The star catalogue: the star list read once at start-up from the archive member
// "stars.dat" into records that the scene's buffer list owns, and how each star is drawn,
// worked out once from its record (scene/star_field.h).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "scene/scene_load_error.h"
#include "scene/star_list.h"

class SceneBuffers;
class SceneHost;

// How one star is drawn: its colour (each channel held to 0..1, as OpenGL holds it), its
// point size in pixels and its direction on the unit sphere. North (+z) is the planet's
// axis, right ascension 0 lies on +x and grows towards +y.
struct StarPoint {
  float red, green, blue;
  float size;
  double direction[3];
};

struct StarCatalogue {
  const StarRecord* records = nullptr;  // in the scene's buffer list; none until loaded
  int32_t count = 0;
  std::vector<StarPoint> points;  // one per record, in record order; empty until prepared

  // Drops the prepared points; the records stay with the buffer list. The stars hold no
  // OpenGL object.
  void Release() { points = std::vector<StarPoint>(); }
  // The records are gone with the buffer list: nothing left to draw from.
  void ForgetRecords() {
    records = nullptr;
    count = 0;
    Release();
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
