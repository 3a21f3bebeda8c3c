#pragma once
// The OpenGL context on the target window, in the window's visual, and the swap that shows
// a frame.
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <string>

#include "x11/target_window.h"

class GlxSurface {
 public:
  GlxSurface() = default;
  GlxSurface(const GlxSurface&) = delete;
  GlxSurface& operator=(const GlxSurface&) = delete;
  ~GlxSurface() { Release(); }

  // Creates the context and makes it current; false with the reason in `error`.
  bool Create(Display* display, const TargetWindow& target, std::string* error);
  // Asks the driver to present frames at the vertical refresh (interval 1) or at once (0);
  // true when it took the request.
  bool SetSwapInterval(int interval);
  void Swap();
  // Makes no context current and deletes the context; safe to call twice.
  void Release();

 private:
  Display* display_ = nullptr;
  GLXDrawable drawable_ = 0;
  GLXContext context_ = nullptr;
  bool doubleBuffered_ = true;
};
