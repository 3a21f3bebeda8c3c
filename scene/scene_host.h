#pragma once
// What the scene needs of the program around it: the resource archive, a way to tell the
// user about a fatal loading error, the quit request, and the millisecond tick count.
// The rendering window provides the Win32 versions; tests provide their own.
#include <cstdint>

class ResourcePak;

enum class MessageIcon { None, Stop };

class SceneHost {
 public:
  virtual ~SceneHost() = default;
  virtual bool OpenArchive(ResourcePak& pak) = 0;
  virtual void ShowMessage(const char* text, MessageIcon icon) = 0;  // modal, OK button
  virtual void RequestQuit() = 0;                                    // the run ends at the message loop
  virtual uint32_t TickCount() = 0;
};
