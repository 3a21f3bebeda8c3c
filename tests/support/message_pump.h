#pragma once
// Runs this thread's messages for a while, as the application's loop does.
#include <windows.h>

#include <cstdint>

#include "framework/app.h"

inline void PumpFor(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  MSG message;
  do {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (fw::RouteDialogMessage(&message)) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(5);
  } while (static_cast<int32_t>(end - GetTickCount()) > 0);
}
