#pragma once
// An off-screen OpenGL context for native tests and benchmarks: RGBA colour and a
// 16-bit depth buffer, like the full-screen window's pixel format.
#include <GL/osmesa.h>

#include <cstdint>
#include <vector>

#include "scene/gl.h"

class OffscreenGl {
 public:
  OffscreenGl(int width, int height)
      : width_(width), height_(height), pixels_(static_cast<size_t>(width) * static_cast<size_t>(height)) {
    context_ = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    if (context_) current_ = OSMesaMakeCurrent(context_, pixels_.data(), GL_UNSIGNED_BYTE, width, height) != 0;
  }
  ~OffscreenGl() {
    if (context_) OSMesaDestroyContext(context_);
  }
  OffscreenGl(const OffscreenGl&) = delete;
  OffscreenGl& operator=(const OffscreenGl&) = delete;

  bool ok() const { return context_ != nullptr && current_; }
  // Makes this context current again after another one was.
  bool MakeCurrent() {
    return context_ && OSMesaMakeCurrent(context_, pixels_.data(), GL_UNSIGNED_BYTE, width_, height_) != 0;
  }
  int width() const { return width_; }
  int height() const { return height_; }

  // Colour of a pixel, rows counted from the bottom as OpenGL does; 0xAABBGGRR.
  uint32_t Pixel(int x, int y) {
    glFinish();
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
  }
  static int Red(uint32_t pixel) { return static_cast<int>(pixel & 0xffu); }
  static int Green(uint32_t pixel) { return static_cast<int>((pixel >> 8) & 0xffu); }
  static int Blue(uint32_t pixel) { return static_cast<int>((pixel >> 16) & 0xffu); }

  const std::vector<uint32_t>& pixels() {
    glFinish();
    return pixels_;
  }

 private:
  int width_;
  int height_;
  std::vector<uint32_t> pixels_;
  OSMesaContext context_ = nullptr;
  bool current_ = false;
};
