#include "tests/support/fake_scene_host.h"

#include "resources/resource_pak.h"

bool FakeSceneHost::OpenArchive(ResourcePak& pak) {
  // An empty archive is refused by the pak itself, which says why.
  return !archive.empty() ? pak.Open(archive.data(), static_cast<int32_t>(archive.size())) : pak.Open(nullptr, 0);
}
