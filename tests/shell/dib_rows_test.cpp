// The preview picture's rows in plain C++: 256-colour rows of odd width expand to 24 bits
// through the colour table, with their padding.
#include "shell/dib_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(DibRows, PalettedRowsOfOddWidthExpandWithTheirPadding) {
  EXPECT_EQ(DibRowBytes(13, 8), 16u);
  EXPECT_EQ(DibRowBytes(13, 24), 40u);
  std::vector<uint8_t> table(256 * 4);
  for (int i = 0; i < 256; ++i) {
    table[static_cast<size_t>(i) * 4] = static_cast<uint8_t>(i);
    table[static_cast<size_t>(i) * 4 + 1] = static_cast<uint8_t>(255 - i);
    table[static_cast<size_t>(i) * 4 + 2] = 9;
  }
  const int width = 13, height = 2;
  // Exactly sized buffers: the sanitizers catch any read or write past a row's padding.
  std::vector<uint8_t> indices(DibRowBytes(width, 8) * height, 0xAB), out(DibRowBytes(width, 24) * height, 0xCD);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) indices[static_cast<size_t>(y) * 16 + x] = static_cast<uint8_t>(y * 100 + x);
  ExpandPalettedRows(indices.data(), table.data(), width, height, out.data());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* pixel = &out[static_cast<size_t>(y) * 40 + static_cast<size_t>(x) * 3];
      EXPECT_EQ(pixel[0], y * 100 + x);
      EXPECT_EQ(pixel[1], 255 - (y * 100 + x));
      EXPECT_EQ(pixel[2], 9);
    }
    EXPECT_EQ(out[static_cast<size_t>(y) * 40 + 39], 0) << "filler byte";
  }
}

}  // namespace
