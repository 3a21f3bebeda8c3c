#include "x11/frame_pacing.h"

#include <cmath>

int FramePacer::WaitMilliseconds(double now) const {
  if (now >= due_) return 0;
  // Less a hair, so that a wait of exactly 20 ms in doubles does not round up to 21.
  return static_cast<int>(std::ceil((due_ - now) * 1000.0 - 1e-6));
}

double FramePacer::FrameStarted(double now) {
  const double scheduled = due_;
  due_ += period_;
  if (due_ > now) return scheduled;
  due_ = now + period_;
  return now;
}
