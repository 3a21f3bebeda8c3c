#pragma once
// The scene clock: SceneTime advances by a fixed step per frame (no wall-clock time),
// and a random start draws the first value from the classic linear congruential generator.
#include <cstdint>

inline constexpr double kSceneStartTime = 28659.0;

// Step per frame: 0.06 * 2^((speed - 50) * 0.03), the speed clamped to the slider's 0..100
// so that a stray registry value cannot drive the clock to infinity.
double SceneTimeStep(int32_t animationSpeed);

// The classic 32-bit generator: seed = seed * 214013 + 2531011, value = bits 16..30.
class LcgRandom {
 public:
  explicit LcgRandom(uint32_t seed) : seed_(seed) {}
  int Next() {
    seed_ = seed_ * 214013u + 2531011u;
    return static_cast<int>((seed_ >> 16) & 0x7fffu);
  }

 private:
  uint32_t seed_;
};

// A random start point of the tour, 0..32767, from the generator seeded with the tick count.
double RandomStartTime(uint32_t tickCount);
