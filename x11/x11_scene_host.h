#pragma once
// The scene's host in the X11 program: the archive assembled into the program, loading
// failures on stderr, the quit request as a flag the run loop reads, a monotonic tick count.
#include "scene/scene_host.h"

class X11SceneHost : public SceneHost {
 public:
  bool OpenArchive(ResourcePak& pak) override;
  void ShowMessage(const char* text, MessageIcon icon) override;
  void RequestQuit() override { quitRequested_ = true; }
  uint32_t TickCount() override;

  bool quitRequested() const { return quitRequested_; }

 private:
  bool quitRequested_ = false;
};
