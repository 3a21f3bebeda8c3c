#pragma once
// The run's host in the real program: the archive linked into the program, message boxes,
// the quit request, GetTickCount and the performance counter.
#include <windows.h>

#include "shell/run_host.h"

class Win32RunHost : public RunHost {
 public:
  bool OpenArchive(ResourcePak& pak) override;
  uint32_t TickCount() override;
  void ShowMessage(const char* text, MessageIcon icon) override;
  void RequestQuit() override;
  double FrameSeconds() override;

  void SetOwner(HWND owner) { owner_ = owner; }

 private:
  HWND owner_ = nullptr;
};
