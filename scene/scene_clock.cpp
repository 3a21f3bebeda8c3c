#include "scene/scene_clock.h"

#include "base/classic_random.h"
#include "scene/scene_options.h"

#include <cmath>

double SceneTimeStep(int32_t animationSpeed) {
  const int32_t speed = kAnimationSpeedRange.Clamp(animationSpeed);
  return 0.06 * std::pow(2.0, (speed - 50) * 0.03);
}

double RandomStartTime(uint32_t tickCount) { return ClassicRandom(tickCount).Next(); }
