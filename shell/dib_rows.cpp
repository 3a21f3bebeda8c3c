#include "shell/dib_rows.h"

size_t DibRowBytes(int width, int bitsPerPixel) {
  const size_t bits = static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel);
  return (bits + 31) / 32 * 4;
}

void ExpandPalettedRows(const uint8_t* indices, const uint8_t* colourTable, int width, int height, uint8_t* out) {
  const size_t inRow = DibRowBytes(width, 8), outRow = DibRowBytes(width, 24);
  for (int y = 0; y < height; ++y) {
    const uint8_t* from = indices + static_cast<size_t>(y) * inRow;
    uint8_t* to = out + static_cast<size_t>(y) * outRow;
    for (int x = 0; x < width; ++x) {
      const uint8_t* entry = colourTable + static_cast<size_t>(from[x]) * 4;
      to[3 * x] = entry[0];
      to[3 * x + 1] = entry[1];
      to[3 * x + 2] = entry[2];
    }
    for (size_t filler = static_cast<size_t>(width) * 3; filler < outRow; ++filler) to[filler] = 0;
  }
}
