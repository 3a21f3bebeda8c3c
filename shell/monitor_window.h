#pragma once
// A window over one of the monitors beside the run's window. Its input goes to the run's
// window, mouse positions in that window's coordinates, so the same rules end the run on any
// monitor (a key, a button, a mouse move of more than 10 pixels); it never takes activation,
// which the run's window keeps.
#include <windows.h>

#include <vector>

#include "framework/window.h"
#include "shell/monitor_layout.h"

// The rectangles of every monitor but the primary (OtherMonitorRects), as the system lists them now.
std::vector<ScreenRect> OtherMonitors();

class CMonitorWindow : public fw::Window {
 public:
  explicit CMonitorWindow(HWND run) : run_(run) {}
  ~CMonitorWindow() override { Destroy(); }

  // A top-most pop-up of the registered class `className` over `rect`, shown without
  // activation just below the run's window, so that window stays in front where monitors
  // overlap. False when the window could not be created.
  bool Open(const char* className, const ScreenRect& rect);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);

  HWND run_;
};

// Registers a class for these windows, painted black; true when it exists afterwards.
bool RegisterMonitorWindowClass(const char* className, UINT style);
