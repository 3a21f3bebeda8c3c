#include "x11/refresh_rate.h"

#include <X11/extensions/Xrandr.h>

namespace {
constexpr int kUsualRefresh = 60;
}

int DisplayRefreshRate(Display* display, Window root) {
  int eventBase = 0, errorBase = 0;
  if (!XRRQueryExtension(display, &eventBase, &errorBase)) return kUsualRefresh;
  XRRScreenConfiguration* configuration = XRRGetScreenInfo(display, root);
  if (!configuration) return kUsualRefresh;
  const short rate = XRRConfigCurrentRate(configuration);
  XRRFreeScreenConfigInfo(configuration);
  return rate > 0 ? rate : kUsualRefresh;
}
