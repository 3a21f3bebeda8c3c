#include "shell/frame_rules.h"

#include <cstdlib>

bool MouseMoveRule::EndsRun(int x, int y, bool busy) {
  if (busy || !referenceTaken_) {
    referenceX_ = x;
    referenceY_ = y;
    referenceTaken_ = true;
  }
  return std::abs(x - referenceX_) > kTolerance || std::abs(y - referenceY_) > kTolerance;
}

bool SlowFrameCheck::WarningDue(int frameCounter, uint32_t tickCount) {
  if (frameCounter == 5) tickMark_ = tickCount;
  // Unsigned difference: a tick count that wrapped in between still measures right.
  return frameCounter == 15 && tickCount - tickMark_ > kSlowMilliseconds;
}

bool RunEndRules::EndsOnMouseMove(int x, int y) { return !demoMode_ && mouse_.EndsRun(x, y, busy_); }
