#pragma once
// The scene's host in the real program: the archive linked into the program, message
// boxes, the quit request and GetTickCount.
#include <windows.h>

#include "scene/scene_host.h"

class Win32SceneHost : public SceneHost {
 public:
  bool OpenArchive(ResourcePak& pak) override;
  void ShowMessage(const char* text, MessageIcon icon) override;
  void RequestQuit() override;
  uint32_t TickCount() override;

  void SetOwner(HWND owner) { owner_ = owner; }

 private:
  HWND owner_ = nullptr;
};
