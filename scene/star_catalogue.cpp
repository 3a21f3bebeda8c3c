#include "scene/star_catalogue.h"

#include "resources/resource_pak.h"
#include "scene/scene.h"

namespace {

constexpr char kArchiveFailed[] = "Can't open resource data file.";
constexpr char kStarsFailed[] = "Can't open stars data file.";
constexpr char kMemoryFailed[] = "Can't allocate memory for stars data";

void Fail(SceneHost& host, const char* text, MessageIcon icon) {
  host.ShowMessage(text, icon);
  host.RequestQuit();
}

}  // namespace

bool StoreStarCatalogue(SceneHost& host, const char* text, size_t size, const StarArrayAllocator& allocate,
                        StarCatalogue& catalogue) {
  const int32_t lines = CountStarLines(text, size);
  // A text without a single line feed holds no record; that is an empty sky, not a
  // failure of the heap.
  if (lines == 0) return true;
  StarRecord* records = allocate(static_cast<size_t>(lines));
  if (!records) {
    Fail(host, kMemoryFailed, MessageIcon::None);
    return false;
  }
  catalogue.count = ParseStarList(text, size, records, lines);
  catalogue.records = records;
  return true;
}

bool LoadStarCatalogue(Scene& scene) {
  SceneHost& host = *scene.host;
  ByteBuffer text;
  int32_t length = 0;
  {
    // The catalogue opens an archive of its own and lets it go before parsing.
    ResourcePak pak;
    if (!host.OpenArchive(pak)) {
      Fail(host, kArchiveFailed, MessageIcon::Stop);
      return false;
    }
    length = pak.Extract("stars.dat", &text);
    pak.Close();
  }
  if (length <= 0) {
    Fail(host, kStarsFailed, MessageIcon::Stop);
    return false;
  }
  // Only the records stay; the text is freed on the way out.
  return StoreStarCatalogue(host, reinterpret_cast<const char*>(text.get()), static_cast<size_t>(length),
                            [&scene](size_t count) { return scene.sceneBuffers.NewArray<StarRecord>(count); },
                            scene.stars);
}
