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

  // Other windows the one context draws into in turn (the other monitors'), so the scene is
  // loaded once for all of them. The window's device context with this context's pixel
  // format, or null when the window refuses it; the caller releases it.
  HDC Adopt(HWND window) const;
  // Makes the context current on an adopted device context, or on its own window's for
  // null. Only the own window's swaps wait for the display's refresh: windows drawn in turn
  // never wait for one another's. False when the context could not be made current there.
  bool DrawInto(HDC adopted);
  static void Swap(HDC adopted) { SwapBuffers(adopted); }

 private:
  using SwapIntervalFunction = BOOL(WINAPI*)(int);
  // The driver's swap-interval function, when it offers one.
  static SwapIntervalFunction SwapInterval();

  HWND window_ = nullptr;
  HDC deviceContext_ = nullptr;
  HGLRC context_ = nullptr;
  int pixelFormat_ = 0;
  SwapIntervalFunction swapInterval_ = nullptr;
};
