#include "scene/star_catalogue.h"

#include <string>

#include "resources/resource_pak.h"
#include "scene/scene_buffers.h"
#include "scene/scene_host.h"

SceneLoadResult StoreStarCatalogue(const char* text, size_t size, const StarArrayAllocator& allocate,
                                   StarCatalogue& catalogue) {
  const int32_t lines = CountStarLines(text, size);
  // A text without a single line feed holds no record; that is an empty sky, not a
  // failure of the heap.
  if (lines == 0) return SceneLoadResult::Ok();
  StarRecord* records = allocate(static_cast<size_t>(lines));
  if (!records)
    return SceneLoadResult::Fail(SceneLoadError::StarsMemory, "no memory for " + std::to_string(lines) + " stars");
  catalogue.count = ParseStarList(text, size, records, lines);
  catalogue.records = records;
  return SceneLoadResult::Ok();
}

SceneLoadResult LoadStarCatalogue(StarCatalogue& catalogue, SceneHost& host, SceneBuffers& buffers) {
  ByteBuffer text;
  int32_t length = 0;
  {
    // The catalogue opens an archive of its own and lets it go before parsing.
    ResourcePak pak;
    if (!host.OpenArchive(pak)) return SceneLoadResult::Fail(SceneLoadError::ArchiveUnreadable, pak.LastResult().reason());
    length = pak.Extract("stars.dat", &text);
    if (length <= 0) return SceneLoadResult::Fail(SceneLoadError::StarsUnreadable, pak.LastResult().reason());
  }
  // Only the records stay; the text is freed on the way out.
  return StoreStarCatalogue(reinterpret_cast<const char*>(text.get()), static_cast<size_t>(length),
                            [&buffers](size_t count) { return buffers.NewArray<StarRecord>(count); }, catalogue);
}
