#pragma once
// The OpenGL context of a window on the window's own device context: a double-buffered
// RGBA pixel format with 16-bit colour and depth, made current on this thread. Where the
// driver offers it, buffers are swapped once per display refresh, so frames never tear and
// a fast machine rests between them.
#include <windows.h>

#include "base/result.h"

// The step of the set-up that failed.
enum class ContextError { None, NoPixelFormat, PixelFormatRefused, NoContext, NotCurrent };

class RenderingContext {
 public:
  RenderingContext() = default;
  ~RenderingContext() { Release(); }
  RenderingContext(const RenderingContext&) = delete;
  RenderingContext& operator=(const RenderingContext&) = delete;

  // Success, or the step that failed with the system's error code as the reason.
  Result<ContextError> Create(HWND window);
  bool IsCurrent() const { return context_ != nullptr; }
  void Swap() const { SwapBuffers(deviceContext_); }
  // The context goes first, then the window's device context; releasing twice is harmless.
  void Release();

 private:
  static void PresentOncePerRefresh();

  HWND window_ = nullptr;
  HDC deviceContext_ = nullptr;
  HGLRC context_ = nullptr;
};
