#pragma once
// Frames per second and the time a frame takes, drawn over the finished picture in its
// bottom-left corner, as XScreenSaver's display programs show them. OpenGL 1.1 only: a
// half-dark box and the text in the bitmap font of overlay_font.h, whose glyphs the overlay
// compiles into display lists of its own in the current context. Times are seconds on any
// steady clock of the host's.
#include <string>
#include <vector>

#include "scene/gl_objects.h"

class FrameRateOverlay {
 public:
  FrameRateOverlay() = default;
  FrameRateOverlay(const FrameRateOverlay&) = delete;
  FrameRateOverlay& operator=(const FrameRateOverlay&) = delete;

  // One frame drawn from `start` to `end` (its swap included). The figures are those of
  // stretches of at least a second; the first frame only starts the first stretch.
  void CountFrame(double start, double end);
  // The last stretch's figures, "FPS: 59.9\nFrame: 4.2 ms"; empty until a stretch closed.
  const std::string& Text() const { return text_; }

  // Over the picture of width x height pixels in the current context; leaves the OpenGL
  // state as it found it. Draws nothing while Text() is empty.
  void Draw(int width, int height);
  // With the context current, before it goes: deletes the font's display lists. A second
  // call, or destroying the overlay afterwards, makes no OpenGL call.
  void Release();

 private:
  void CompileFont(int scale);

  bool started_ = false;
  double stretchStart_ = 0.0;
  double busy_ = 0.0;  // the stretch's drawing time
  int frames_ = 0;
  std::string text_;
  std::vector<GlList> glyphs_;  // kOverlayGlyphCount glyph lists, then a space
  int fontScale_ = 0;          // screen pixels per font pixel of the compiled lists
};
