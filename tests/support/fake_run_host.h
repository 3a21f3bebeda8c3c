#pragma once
// A run host for tests of the full-screen window: the scene's fake host, and the boxes and
// quit requests of the run recorded instead of shown.
#include <string>
#include <vector>

#include "shell/run_host.h"
#include "tests/support/fake_scene_host.h"

class FakeRunHost : public RunHost {
 public:
  struct Message {
    std::string text;
    MessageIcon icon;
  };

  bool OpenArchive(ResourcePak& pak) override { return scene.OpenArchive(pak); }
  uint32_t TickCount() override { return scene.TickCount(); }
  void ShowMessage(const char* text, MessageIcon icon) override { messages.push_back({text, icon}); }
  void RequestQuit() override { ++quitRequests; }
  // One 60 Hz frame later at every frame, unless a test sets its own times.
  double FrameSeconds() override { return frameSeconds += secondsPerFrame; }

  FakeSceneHost scene;  // archive and tick count
  std::vector<Message> messages;
  int quitRequests = 0;
  double frameSeconds = 0.0;
  double secondsPerFrame = 1.0 / 60.0;
};
