#pragma once
// The scene clock: SceneTime advances by a fixed step per frame (no wall-clock time),
// and a random start draws the first value of the classic generator (base/classic_random.h).
#include <cstdint>

inline constexpr double kSceneStartTime = 28659.0;

// Step per frame: 0.06 * 2^((speed - 50) * 0.03), the speed clamped to the slider's range
// so that a stray registry value cannot drive the clock to infinity.
double SceneTimeStep(int32_t animationSpeed);

// A random start point of the tour, 0..32767: the first value of the generator seeded with
// the tick count.
double RandomStartTime(uint32_t tickCount);
