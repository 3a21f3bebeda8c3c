#pragma once
// What the scene needs of the program around it: its resource archive and the millisecond
// tick count that seeds a random start. The Windows program and the X11 program provide
// their own; tests provide theirs.
#include <cstdint>

class ResourcePak;

class SceneHost {
 public:
  virtual ~SceneHost() = default;
  // Opens the program's archive in `pak`; on failure pak.LastResult().reason() says why.
  virtual bool OpenArchive(ResourcePak& pak) = 0;
  virtual uint32_t TickCount() = 0;
};
