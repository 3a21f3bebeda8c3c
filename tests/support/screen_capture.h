#pragma once
// The screen's pixels inside a rectangle, as a user sees them, read in one copy.
#include <windows.h>

#include <cstdint>
#include <vector>

struct ScreenPixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows from the top

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x]; }
  static int Red(uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }
  static int Green(uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }
  static int Blue(uint32_t p) { return static_cast<int>(p & 0xFF); }
};

inline ScreenPixels CaptureScreen(const RECT& rect) {
  ScreenPixels result;
  result.width = rect.right - rect.left;
  result.height = rect.bottom - rect.top;
  if (result.width <= 0 || result.height <= 0) return result;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), result.width, -result.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, result.width, result.height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const uint32_t*>(bits);
  result.pixels.assign(pixels, pixels + static_cast<size_t>(result.width) * static_cast<size_t>(result.height));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return result;
}

// True when no other visible top-level window lies above `window` over `rect` (screen
// coordinates): what the screen shows there is then the window's own picture. Geometry
// only, so a window of another program is never asked anything.
inline bool Unobscured(HWND window, const RECT& rect) {
  HWND top = GetAncestor(window, GA_ROOT);
  for (HWND above = GetWindow(top, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
    RECT other, overlap;
    if (IsWindowVisible(above) && GetWindowRect(above, &other) && IntersectRect(&overlap, &other, &rect)) return false;
  }
  return true;
}

// The screen over `rect` once nothing lies above `window` there during the whole copy,
// waiting up to `milliseconds`; empty pixels when something stayed in the way.
inline ScreenPixels CaptureUnobscured(HWND window, const RECT& rect, DWORD milliseconds = 10000) {
  const DWORD deadline = GetTickCount() + milliseconds;
  do {
    if (Unobscured(window, rect)) {
      ScreenPixels shown = CaptureScreen(rect);
      if (Unobscured(window, rect)) return shown;
    }
    Sleep(50);
  } while (static_cast<int32_t>(deadline - GetTickCount()) > 0);
  return ScreenPixels();
}
