#pragma once
// The rules of a full-screen run that need no window: when a mouse move ends the run,
// and when the frames are slow enough to warn the user.
#include <cstdint>

// A move of more than 10 pixels in x or y from the first position seen ends the run.
// The reference is taken by the first move and re-taken on every move while busy.
class MouseMoveRule {
 public:
  static constexpr int kTolerance = 10;
  bool EndsRun(int x, int y, bool busy);

 private:
  int referenceX_ = -1;
  int referenceY_ = -1;
  bool referenceTaken_ = false;
};

// Frames 6 to 15 taking over three seconds means a machine too slow for the scene.
class SlowFrameCheck {
 public:
  static constexpr uint32_t kSlowMilliseconds = 3000;
  // frameCounter: frames drawn before this one. True on the one frame the warning is due.
  bool WarningDue(int frameCounter, uint32_t tickCount);

 private:
  uint32_t tickMark_ = 0;
};

// What ends a full-screen run, besides a key or a mouse button, which always do. Demo mode
// lets mouse moves, the loss of activation and cancel-mode pass, and so does a message box
// of the run while it is up (busy): its own activation must not end the run under it.
class RunEndRules {
 public:
  void SetDemoMode(bool on) { demoMode_ = on; }
  void SetBusy(bool on) { busy_ = on; }
  bool Busy() const { return busy_; }

  bool EndsOnDeactivation() const { return !demoMode_ && !busy_; }
  bool HidesCursor() const { return !demoMode_ && !busy_; }
  // A move in client coordinates; demo mode never ends the run by the mouse.
  bool EndsOnMouseMove(int x, int y);

 private:
  bool demoMode_ = false;
  bool busy_ = false;
  MouseMoveRule mouse_;
};
