#pragma once
// The full-screen window of a screensaver run: the OpenGL context on its own device
// context, the user's settings, the scene behind a loading notice, the display-mode
// switch, one frame per timer message, and the input rules that end the run.
#include <windows.h>

#include <memory>

#include "framework/dialog.h"
#include "framework/window.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "shell/frame_rules.h"
#include "shell/monitor_blackout.h"
#include "shell/win32_scene_host.h"

class CGLWindow : public fw::Window {
 public:
  CGLWindow();
  // host: where messages, the quit request, the archive and the tick count come from.
  explicit CGLWindow(SceneHost* host);
  ~CGLWindow() override;

  // No parent: a top-most pop-up over `rect`. False when the window could not be created.
  virtual bool Create(const RECT& rect, HWND parent);

  const Settings& settings() const { return settings_; }
  const Scene& scene() const { return scene_; }
  int frameCounter() const { return frameCounter_; }
  bool busy() const { return busy_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override;

 private:
  LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam);
  bool CreateRenderingContext();
  void SwitchDisplayMode();
  void OnTimer();
  void OnDestroy();
  LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam);
  bool ExitRulesSuspended() const { return settings_.DemoMode != 0 || busy_; }
  void RequestClose() { PostMessageA(hwnd_, WM_CLOSE, 0, 0); }
  // Every message box of the run goes through here: while it is up the window counts as
  // busy, so the box's own activation and cancel-mode do not end the run (and close the
  // box with its owner) before the user has read it.
  void ShowBox(const char* text, MessageIcon icon);
  class BoxGuardHost;

  std::unique_ptr<Win32SceneHost> ownHost_;
  SceneHost* host_;
  std::unique_ptr<SceneHost> guardedHost_;  // host_ with ShowBox's rule, handed to the scene
  Settings settings_;
  Scene scene_;
  HDC deviceContext_ = nullptr;
  HGLRC renderingContext_ = nullptr;
  int pixelFormat_ = 0;
  bool busy_ = false;
  int frameCounter_ = 0;
  SlowFrameCheck slowFrames_;
  fw::Dialog loadingNotice_;  // up while the scene loads
  MouseMoveRule mouseRule_;
  MonitorBlackout blackout_;  // the other monitors, black while the window lives
};
