#pragma once
// A scene host for tests: records messages and quit requests, serves a scripted tick count
// and an archive from bytes the test provides.
#include <cstdint>
#include <string>
#include <vector>

#include "scene/scene_host.h"

class FakeSceneHost : public SceneHost {
 public:
  struct Message {
    std::string text;
    MessageIcon icon;
  };

  bool OpenArchive(ResourcePak& pak) override;  // over `archive`; fails while it is empty
  void ShowMessage(const char* text, MessageIcon icon) override { messages.push_back({text, icon}); }
  void RequestQuit() override { ++quitRequests; }
  uint32_t TickCount() override { return tickCount; }

  std::vector<uint8_t> archive;
  std::vector<Message> messages;
  int quitRequests = 0;
  uint32_t tickCount = 0;
};
