#pragma once
// Waiting for a condition with a deadline, never for a fixed time.
#include <windows.h>

#include <cstdint>

template <typename Condition>
bool WaitUntil(Condition condition, DWORD milliseconds = 15000) {
  const DWORD deadline = GetTickCount() + milliseconds;
  for (;;) {
    if (condition()) return true;
    if (static_cast<int32_t>(deadline - GetTickCount()) <= 0) return false;
    Sleep(20);
  }
}
