#pragma once
// The C runtime's classic linear congruential generator, shared by the scene's random start
// and the launcher's random pick so that both draw the same values as the runtime's rand():
// state = state * 214013 + 2531011 (mod 2^32), value = bits 16..30 of the state.
#include <cstdint>

class ClassicRandom {
 public:
  static constexpr int kMax = 0x7FFF;

  explicit ClassicRandom(uint32_t seed) : state_(seed) {}
  int Next() {
    state_ = state_ * 214013u + 2531011u;  // unsigned arithmetic wraps modulo 2^32
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }

 private:
  uint32_t state_;
};
