#include "x11/frame_pacing.h"

#include <cmath>

int FramePacer::WaitMilliseconds(double now) const {
  if (now >= due_) return 0;
  // Less a hair, so that a wait of exactly 20 ms in doubles does not round up to 21.
  return static_cast<int>(std::ceil((due_ - now) * 1000.0 - 1e-6));
}

void FramePacer::FrameStarted(double now) {
  due_ += period_;
  if (due_ <= now) due_ = now + period_;
}
