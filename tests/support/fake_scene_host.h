#pragma once
// A scene host for tests: an archive from bytes the test provides and a scripted tick count.
#include <cstdint>
#include <vector>

#include "scene/scene_host.h"

class FakeSceneHost : public SceneHost {
 public:
  bool OpenArchive(ResourcePak& pak) override;  // over `archive`; fails while it is empty
  uint32_t TickCount() override { return tickCount; }

  std::vector<uint8_t> archive;
  uint32_t tickCount = 0;
};
