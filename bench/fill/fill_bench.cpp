// What one pass over the whole screen costs the software renderer, at 1920x1080 off screen
// with a 16-bit depth buffer as the scene has: the price list behind the frame's figures.
// Each line is one way of covering every pixel once (a quad larger than the screen), in
// milliseconds per pass, the median of several runs of 20 passes each finished with
// glFinish. The texture is a 256x256 soft disc like the flare's glow, magnified as the
// largest flare elements magnify it. Prints figures; asserts nothing.
//
// Usage: tellaro_fill_bench
#include <GL/osmesa.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "scene/gl.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kTextureSize = 256;

double Milliseconds() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

GLuint SoftDisc(GLint filter) {
  std::vector<uint8_t> texels(kTextureSize * kTextureSize * 3);
  for (int y = 0; y < kTextureSize; ++y)
    for (int x = 0; x < kTextureSize; ++x) {
      const double r = std::hypot(x - kTextureSize / 2.0, y - kTextureSize / 2.0) / (kTextureSize / 2.0);
      const uint8_t value = r < 1.0 ? static_cast<uint8_t>(255.0 * (1.0 - r) * (1.0 - r)) : 0;
      for (int k = 0; k < 3; ++k) texels[static_cast<size_t>((y * kTextureSize + x) * 3 + k)] = value;
    }
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, 3, kTextureSize, kTextureSize, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
  return name;
}

using ActiveTexture = void (*)(GLenum);
using MultiTexCoord2d = void (*)(GLenum, GLdouble, GLdouble);
constexpr GLenum kTexture0 = 0x84C0, kTexture1 = 0x84C1;  // GL_TEXTURE0, GL_TEXTURE1 (OpenGL 1.3)

// Milliseconds per screen-covering quad in the current state; with `second`, the second
// texture unit samples too, at coordinates of its own.
double PassCost(MultiTexCoord2d second) {
  std::vector<double> runs;
  for (int run = 0; run < 5; ++run) {
    const double start = Milliseconds();
    for (int pass = 0; pass < 20; ++pass) {
      glBegin(GL_QUADS);
      const double corners[4][2] = {{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {0.0, 1.0}};
      for (const auto& c : corners) {
        glTexCoord2d(c[0], c[1]);
        if (second) second(kTexture1, 0.25 + 0.5 * c[0], 0.25 + 0.5 * c[1]);
        glVertex2d(2.4 * c[0] - 1.2, 2.4 * c[1] - 1.2);
      }
      glEnd();
    }
    glFinish();
    runs.push_back((Milliseconds() - start) / 20.0);
  }
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

struct Way {
  const char* name;
  bool texture, blend, nearest, depthBuffer, twoUnits;
};

}  // namespace

int main() {
  std::printf("One pass over %dx%d, OSMesa off screen (ms per pass, median of 5 runs of 20)\n", kWidth, kHeight);
  const Way ways[] = {
      {"colour only", false, false, false, true, false},
      {"colour, added (blended)", false, true, false, true, false},
      {"textured, linear filter, added", true, true, false, true, false},
      {"two textures in one pass, linear, added", true, true, false, true, true},
      {"textured, nearest texel, added", true, true, true, true, false},
      {"textured, linear, not blended", true, false, false, true, false},
      {"textured, linear, not blended, no depth buffer", true, false, false, false, false},
      {"textured, linear, added, no depth buffer", true, true, false, false, false},
  };
  std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
  for (const Way& way : ways) {
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, way.depthBuffer ? 16 : 0, 0, 0, nullptr);
    if (!context || !OSMesaMakeCurrent(context, pixels.data(), GL_UNSIGNED_BYTE, kWidth, kHeight)) {
      std::fprintf(stderr, "no OpenGL context\n");
      return 1;
    }
    const GLuint texture = SoftDisc(way.nearest ? GL_NEAREST : GL_LINEAR);
    if (way.texture) glEnable(GL_TEXTURE_2D);
    if (way.blend) {
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // as the flare adds its light
    }
    MultiTexCoord2d second = nullptr;
    if (way.twoUnits) {
      const auto active = reinterpret_cast<ActiveTexture>(OSMesaGetProcAddress("glActiveTexture"));
      second = reinterpret_cast<MultiTexCoord2d>(OSMesaGetProcAddress("glMultiTexCoord2d"));
      if (!active || !second) continue;
      active(kTexture1);
      glBindTexture(GL_TEXTURE_2D, texture);
      glEnable(GL_TEXTURE_2D);
      glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
      active(kTexture0);
    }
    glColor4f(0.9f, 0.8f, 0.7f, 0.3f);
    std::printf("  %-48s %6.2f\n", way.name, PassCost(second));
    glDeleteTextures(1, &texture);
    OSMesaDestroyContext(context);
  }
  return 0;
}
