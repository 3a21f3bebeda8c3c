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
