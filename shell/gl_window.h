#pragma once
// The full-screen window of a screensaver run, on the main monitor. It routes messages: the
// OpenGL context, the display-mode switch, the other monitors' windows and the rules that end
// the run are objects of their own; the window holds the user's settings, the scene behind a
// loading notice, and one frame per timer message.
#include <windows.h>

#include <memory>

#include "framework/dialog.h"
#include "framework/window.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "shell/display_mode_switch.h"
#include "shell/display_power.h"
#include "shell/frame_rules.h"
#include "shell/monitor_blackout.h"
#include "shell/monitor_views.h"
#include "shell/rendering_context.h"
#include "shell/run_host.h"
#include "shell/win32_run_host.h"

class CGLWindow : public fw::Window {
 public:
  // host: where messages, the quit request, the archive and the tick count come from;
  // none: the program's own.
  explicit CGLWindow(RunHost* host = nullptr);
  ~CGLWindow() override;

  // No parent: a top-most pop-up over `rect`. False when the window could not be created.
  virtual bool Create(const RECT& rect, HWND parent);

  const Settings& settings() const { return settings_; }
  const Scene& scene() const { return scene_; }
  int frameCounter() const { return frameCounter_; }
  bool busy() const { return endRules_.Busy(); }
  bool displayAsleep() const { return displayPower_.Asleep(); }
  size_t otherMonitorViews() const { return otherMonitors_.Count(); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override;

 private:
  LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam);
  void EnterDisplayMode();
  void CoverOtherMonitors();
  void OnTimer();
  // The frames stop while the display sleeps and go on when it wakes.
  void FollowDisplayPower();
  void OnDestroy();
  LRESULT OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam);
  void RequestClose() { PostMessageA(hwnd_, WM_CLOSE, 0, 0); }
  // Every message box of the run goes through here: while it is up the window counts as
  // busy, so the box's own activation and cancel-mode do not end the run (and close the
  // box with its owner) before the user has read it.
  void ShowBox(const char* text, MessageIcon icon);
  // A set-up failure: its box, then the quit request; the run ends once the box is gone.
  void EndWithBox(const char* text, MessageIcon icon);

  std::unique_ptr<Win32RunHost> ownHost_;  // when no host was given
  RunHost& host_;
  Settings settings_;
  Scene scene_;
  RenderingContext context_;
  DisplayModeSwitch displayMode_;
  RunEndRules endRules_;
  DisplayPower displayPower_;
  int frameCounter_ = 0;
  SlowFrameCheck slowFrames_;
  fw::Dialog loadingNotice_;  // up while the scene loads
  // The other monitors while the window lives: black, or (with "Monitors" 1) each its own view.
  MonitorBlackout blackout_;
  MonitorViews otherMonitors_;
};
