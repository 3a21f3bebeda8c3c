// Decodes the input as a TGA file; a decoded buffer must hold every pixel it claims.
#include <cstddef>
#include <cstdint>

#include "resources/tga_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Image image;
  if (DecodeTga(&image, data, size, "fuzz.tga")) {
    const size_t bytes = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) *
                         static_cast<size_t>(image.bitsPerPixel / 8);
    volatile uint8_t last = image.pixels[bytes - 1];
    (void)last;
  }
  return 0;
}
