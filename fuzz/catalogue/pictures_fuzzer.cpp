// Any bytes as a downloaded icon and as a downloaded screenshot (in a buffer of exactly their
// length): the checks must refuse or take them without reading beyond them, and what they take
// must be what they promise (an icon of a size the check allows; a screenshot decoded whole
// within its bounds).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "catalogue/catalogue_limits.h"
#include "catalogue/product_pictures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  if (IsProductIcon(bytes.data(), bytes.size()) && (size > kMaxIconBytes || size < 14 + 40 + 32 * 4)) std::abort();
  JpegRaster raster;
  if (DecodeScreenshot(bytes.data(), bytes.size(), &raster)) {
    const uint64_t pixelBytes = uint64_t{raster.width} * raster.height * 3;
    if (!raster.pixels || pixelBytes == 0 || pixelBytes > kMaxScreenshotPixelBytes) std::abort();
  }
  return 0;
}
