#include "shell/monitor_blackout.h"

#include "shell/monitor_window.h"

MonitorBlackout::MonitorBlackout() = default;

MonitorBlackout::~MonitorBlackout() { Remove(); }

void MonitorBlackout::Cover(HWND run) {
  Remove();
  const std::vector<ScreenRect> rects = OtherMonitors();
  if (rects.empty() || !RegisterMonitorWindowClass(kClassName, 0)) return;
  for (const ScreenRect& rect : rects) {
    auto window = std::make_unique<CMonitorWindow>(run);
    if (window->Open(kClassName, rect)) windows_.push_back(std::move(window));
  }
}

void MonitorBlackout::Remove() { windows_.clear(); }
