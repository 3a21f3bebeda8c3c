#pragma once
// An inclusive range of integer values a user can choose, and the switch's range shared by
// every on/off value. Each reader applies its own rule to a value outside: holds it to the
// range, refuses it, or falls back.
#include <cstdint>

struct ValueRange {
  int32_t low;
  int32_t high;
  constexpr bool Holds(int32_t value) const { return value >= low && value <= high; }
  constexpr int32_t Clamp(int32_t value) const { return value < low ? low : (value > high ? high : value); }
};

inline constexpr ValueRange kSwitchRange{0, 1};  // off, on
