#pragma once
// Baseline and progressive JPEG files decoded from memory with libjpeg into RGB rows.
#include <cstddef>
#include <cstdint>

#include "resources/byte_buffer.h"
#include "resources/image.h"

struct JpegRaster {
  ByteBuffer pixels;    // width * 3 * height bytes, R G B, top row first
  uint32_t width = 0;   // libjpeg's output width
  uint32_t height = 0;  // libjpeg's output height
};

// Success with `raster` filled; on failure `raster` is untouched and the result says why (for
// data the library refuses, in the library's words). The bytes are only read. Grayscale
// files come out as RGB; files of other colour spaces (CMYK) are refused, and so are files
// that end before their image is complete.
ImageResult DecodeJpeg(const uint8_t* bytes, size_t length, JpegRaster* raster);
// The same with a bound on the decoded size in bytes, checked before any pixel is decoded,
// and, when maxScans > 0, on the number of scans: every scan of a progressive file passes
// over the whole picture, so a file of thousands of scans is refused at the first one too
// many instead of being decoded for minutes.
ImageResult DecodeJpeg(const uint8_t* bytes, size_t length, JpegRaster* raster, uint64_t maxPixelBytes,
                       int maxScans = 0);
