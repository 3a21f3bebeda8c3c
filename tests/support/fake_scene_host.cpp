#include "tests/support/fake_scene_host.h"

#include "resources/resource_pak.h"

bool FakeSceneHost::OpenArchive(ResourcePak& pak) {
  if (archive.empty()) return false;
  return pak.Open(archive.data(), static_cast<int32_t>(archive.size()));
}
