#include "shell/monitor_layout.h"

#include <algorithm>

std::vector<ScreenRect> OtherMonitorRects(const std::vector<ScreenRect>& monitors, const ScreenRect& primary) {
  std::vector<ScreenRect> rects;
  for (const ScreenRect& monitor : monitors) {
    if (monitor.Empty() || monitor == primary) continue;
    if (std::find(rects.begin(), rects.end(), monitor) != rects.end()) continue;
    rects.push_back(monitor);
  }
  return rects;
}
