#pragma once
// What the full-screen run needs of the program around it: the scene's archive and tick
// count, the frames' presentation times, message boxes and the quit request. The program's
// own is Win32RunHost; tests give their own to watch what the run shows.
#include "scene/scene_host.h"

enum class MessageIcon { None, Stop };

class RunHost : public SceneHost {
 public:
  virtual void ShowMessage(const char* text, MessageIcon icon) = 0;  // modal, OK button
  virtual void RequestQuit() = 0;                                    // the run ends at the message loop
  virtual double FrameSeconds() = 0;  // now on a monotonic clock: the time of the frame about to be drawn
};
