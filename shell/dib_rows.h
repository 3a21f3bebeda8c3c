#pragma once
// Rows of a bottom-up device-independent bitmap: each row padded to a multiple of 4 bytes.
// Plain C++, so the preview picture's conversion of 256 colours is checked natively.
#include <cstddef>
#include <cstdint>

// Bytes of one row of `width` pixels at `bitsPerPixel` (8 or 24), filler included.
size_t DibRowBytes(int width, int bitsPerPixel);

// 8-bit rows (palette indices, padded) into 24-bit rows (blue, green, red, padded) through
// `colourTable`: 256 entries of blue, green, red and a reserved byte.
void ExpandPalettedRows(const uint8_t* indices, const uint8_t* colourTable, int width, int height, uint8_t* out);
