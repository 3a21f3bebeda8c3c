// Decodes the input as a JPEG file; a decoded buffer must hold every pixel it claims.
// Pictures above 4 MiB of pixels are refused to keep every run fast.
#include <cstddef>
#include <cstdint>

#include "resources/jpeg_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  JpegRaster raster;
  if (DecodeJpeg(data, size, &raster, uint64_t{4} << 20)) {
    const size_t bytes = size_t{raster.width} * raster.height * 3;
    volatile uint8_t last = raster.pixels[bytes - 1];
    (void)last;
  }
  return 0;
}
