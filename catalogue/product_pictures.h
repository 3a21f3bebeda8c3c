#pragma once
// The pictures of a catalogue product, judged by our own code before anything else parses
// them: a download, or a file of the cache, becomes a product's picture only when it passes.
// Plain C++, tested and fuzzed natively.
#include <cstddef>
#include <cstdint>

#include "resources/jpeg_decoder.h"

enum class ProductPicture { Screenshot, Icon };

// The largest file each may be (catalogue/catalogue_limits.h).
size_t MaxPictureBytes(ProductPicture picture);

// A screenshot: a JPEG of at most kMaxScreenshotBytes that decodes completely within
// kMaxScreenshotPixelBytes and kMaxScreenshotScans. `raster` receives the picture.
bool DecodeScreenshot(const uint8_t* bytes, size_t length, JpegRaster* raster);

// An icon: a Windows bitmap file of at most kMaxIconBytes, 32 x 32 pixels (rows bottom-up or
// top-down), one plane, 1, 4, 8, 16, 24 or 32 bits a pixel, uncompressed, with an
// information header of 40, 108 or 124 bytes and no colour profile, its palette and every
// row inside the file.
bool IsProductIcon(const uint8_t* bytes, size_t length);

bool IsGoodPicture(ProductPicture picture, const uint8_t* bytes, size_t length);
