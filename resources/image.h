#pragma once
// A decoded picture: tightly packed rows, row 0 at the top, channels R, G, B (, A).
#include <cstddef>
#include <cstdint>

#include "base/result.h"
#include "resources/byte_buffer.h"

struct Image {
  uint8_t bitsPerPixel = 0;  // 24 (RGB) or 32 (RGBA)
  int32_t width = 0;
  int32_t height = 0;
  ByteBuffer pixels;  // width * height * bitsPerPixel / 8 bytes, or null
};

// Why a picture could not be had; the reason names the picture and what was wrong with it.
enum class ImageError {
  None,
  NotInArchive,   // the member is missing or can't be extracted (the archive's reason)
  UnknownFormat,  // neither ".jpg" nor ".tga"
  Unsupported,    // a kind of picture the decoders don't read
  Truncated,      // the data ends before the picture does
  Damaged,        // the JPEG library refused the data
  TooLarge,       // beyond the caller's bound on pixels or scans
  NoMemory,
};
using ImageResult = Result<ImageError>;

// Pictures whose pixel buffer would exceed this are refused before anything is allocated;
// the largest texture of the screensaver needs 1.5 MiB.
constexpr uint64_t kMaxImageBytes = uint64_t{256} << 20;

// width * height * bytesPerPixel, or 0 when a dimension is not positive or the product
// exceeds `limit`. Computed without overflow for any 32-bit dimensions.
inline uint64_t PixelBufferSize(int64_t width, int64_t height, int64_t bytesPerPixel,
                                uint64_t limit = kMaxImageBytes) {
  if (width <= 0 || height <= 0 || bytesPerPixel <= 0) return 0;
  const uint64_t row = static_cast<uint64_t>(width) * static_cast<uint64_t>(bytesPerPixel);
  if (row > limit || static_cast<uint64_t>(height) > limit / row) return 0;
  return row * static_cast<uint64_t>(height);
}
