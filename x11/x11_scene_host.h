#pragma once
// The scene's host in the X11 program: the archive assembled into the program and a
// monotonic tick count.
#include "scene/scene_host.h"

class X11SceneHost : public SceneHost {
 public:
  bool OpenArchive(ResourcePak& pak) override;
  uint32_t TickCount() override;
};
