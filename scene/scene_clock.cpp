#include "scene/scene_clock.h"

#include <algorithm>
#include <cmath>

#include "base/classic_random.h"
#include "scene/scene_options.h"

double SceneTimeStep(int32_t animationSpeed) {
  const int32_t speed = kAnimationSpeedRange.Clamp(animationSpeed);
  return 0.06 * std::pow(2.0, (speed - 50) * 0.03);
}

double RandomStartTime(uint32_t tickCount) { return ClassicRandom(tickCount).Next(); }

double SceneClock::FramesUntil(double seconds) {
  const double elapsed = started_ ? seconds - previous_ : 0.0;
  // A clock that stepped back leaves the reference where it was, so no time is counted twice.
  if (!started_ || elapsed >= 0.0) previous_ = seconds;
  started_ = true;
  const double frames = std::clamp(elapsed * kSceneFramesPerSecond, 0.0, kMostFramesPerFrame);
  if (frames < stopAfter_ - moved_) {
    moved_ += frames;
    return frames;
  }
  const double rest = std::max(stopAfter_ - moved_, 0.0);
  moved_ = std::max(moved_, stopAfter_);
  return rest;
}
