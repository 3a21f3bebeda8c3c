// Off-screen frames saved as PPM pictures for a person to look at, when the environment
// names a folder (TELLARO_PICTURES_DIR or TELLARO_PICTURES).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/offscreen_gl.h"

namespace pictures {

inline void Save(OffscreenGl& gl, const std::string& name) {
  const char* folder = std::getenv("TELLARO_PICTURES_DIR");
  if (!folder) folder = std::getenv("TELLARO_PICTURES");
  if (!folder) return;
  FILE* file = std::fopen((std::string(folder) + "/" + name + ".ppm").c_str(), "wb");
  if (!file) return;
  std::fprintf(file, "P6 %d %d 255\n", gl.width(), gl.height());
  const std::vector<uint32_t>& pixels = gl.pixels();
  for (int y = gl.height() - 1; y >= 0; --y)
    for (int x = 0; x < gl.width(); ++x) {
      const uint32_t p = pixels[static_cast<size_t>(y) * static_cast<size_t>(gl.width()) + static_cast<size_t>(x)];
      const unsigned char rgb[3] = {static_cast<unsigned char>(OffscreenGl::Red(p)),
                                    static_cast<unsigned char>(OffscreenGl::Green(p)),
                                    static_cast<unsigned char>(OffscreenGl::Blue(p))};
      std::fwrite(rgb, 1, 3, file);
    }
  std::fclose(file);
}

}  // namespace pictures
