// TGA decoding: files written by ImageMagick against the pixels ImageMagick reads from
// them, hand-made packets at the edges of rows and of the picture, and refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/tga_decoder.h"
#include "resources/trace.h"
#include "tests/resources/fixture_files.h"

namespace {

using fixtures::Fixture;

std::vector<uint8_t> Pixels(const Image& image) {
  return fixtures::Bytes(image.pixels.get(), static_cast<size_t>(image.width) * static_cast<size_t>(image.height) *
                                                 static_cast<size_t>(image.bitsPerPixel / 8));
}

class ImageMagickTga : public ::testing::TestWithParam<const char*> {};

// Types 2 and 10, 24 and 32 bits, both row orders, and an image-ID field.
TEST_P(ImageMagickTga, DecodesToThePixelsImageMagickReads) {
  const std::string name = GetParam();
  const int bits = name.find("_32_") != std::string::npos ? 32 : 24;
  const std::vector<uint8_t> file = Fixture(name + ".tga");
  Image image;
  const ImageResult decoded = DecodeTga(&image, file.data(), file.size(), name.c_str());
  ASSERT_TRUE(decoded) << name << ": " << decoded.reason();
  EXPECT_EQ(image.width, 13) << name;
  EXPECT_EQ(image.height, 7) << name;
  EXPECT_EQ(image.bitsPerPixel, bits) << name;
  EXPECT_EQ(Pixels(image), Fixture(name + (bits == 32 ? ".rgba" : ".rgb"))) << name;
}

INSTANTIATE_TEST_SUITE_P(Variants, ImageMagickTga,
                         ::testing::Values("im_t2_24_bottom", "im_t2_24_top", "im_t10_24_bottom", "im_t10_24_top",
                                           "im_t2_32_bottom", "im_t2_32_top", "im_t10_32_bottom", "im_t10_32_top",
                                           "im_t2_24_id", "im_t10_32_id"),
                         [](const ::testing::TestParamInfo<const char*>& p) { return std::string(p.param); });

// A hand-made TGA: header, then the pixel data as given.
std::vector<uint8_t> Tga(uint8_t type, int width, int height, uint8_t depth, uint8_t descriptor,
                         const std::vector<uint8_t>& data, uint8_t colourMapType = 0) {
  std::vector<uint8_t> file = {0, colourMapType, type, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                               static_cast<uint8_t>(width), static_cast<uint8_t>(width >> 8),
                               static_cast<uint8_t>(height), static_cast<uint8_t>(height >> 8), depth, descriptor};
  file.insert(file.end(), data.begin(), data.end());
  return fixtures::Prefix(file);
}

// Type 10 at 24 bits: packets of both kinds, crossing rows and running past the last row.
TEST(Tga, RunLengthPacketsFillTheRowsInFileOrder) {
  struct Case {
    const char* what;
    uint8_t descriptor;  // 0x20: top row first
    int width;
    int height;
    std::vector<uint8_t> data;
    std::vector<uint8_t> expected;  // RGB, top row first
  };
  const std::vector<Case> cases = {
      {"run header 0x85 writes its pixel 6 times", 0x20, 6, 1, {0x85, 1, 2, 3},
       {3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1}},
      {"raw header 2: 3 pixels follow", 0x20, 3, 1, {2, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {3, 2, 1, 6, 5, 4, 9, 8, 7}},
      {"run across rows, top first", 0x20, 2, 2, {0x82, 1, 1, 1, 0, 2, 2, 2}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2}},
      {"run across rows, bottom first", 0, 2, 2, {0x82, 1, 1, 1, 0, 2, 2, 2}, {1, 1, 1, 2, 2, 2, 1, 1, 1, 1, 1, 1}},
      {"raw packet across rows", 0x20, 2, 2, {2, 1, 1, 1, 2, 2, 2, 3, 3, 3, 0x80, 4, 4, 4},
       {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4}},
      {"run past the last row stops at the end", 0x20, 2, 1, {0xFF, 7, 8, 9}, {9, 8, 7, 9, 8, 7}},
      {"raw packet past the last row reads no further", 0x20, 1, 1, {0x7F, 7, 8, 9}, {9, 8, 7}},
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> file = Tga(10, c.width, c.height, 24, c.descriptor, c.data);
    Image image;
    const ImageResult decoded = DecodeTga(&image, file.data(), file.size(), c.what);
    EXPECT_TRUE(decoded) << c.what << ": " << decoded.reason();
    EXPECT_EQ(Pixels(image), c.expected) << c.what;
  }
}

TEST(Tga, RefusalsLeaveTheirTraceAndNoBuffer) {
  const std::string truncated = "Truncated tga image \"x.tga\"";
  const std::vector<std::pair<std::vector<uint8_t>, std::string>> cases = {
      {Tga(1, 1, 1, 8, 0, {0}), "Unsupported tga image \"x.tga\" type (type=1)"},
      {Tga(3, 1, 1, 8, 0, {0}), "Unsupported tga image \"x.tga\" type (type=3)"},
      {Tga(2, 1, 1, 24, 0, {1, 2, 3}, 1), "Unsupported tga image \"x.tga\" pixel size (size=24)"},  // colour map
      {Tga(2, 1, 1, 16, 0, {1, 2}), "Unsupported tga image \"x.tga\" pixel size (size=16)"},
      {Tga(2, 0, 5, 24, 0, {}), "Unsupported tga image \"x.tga\" size (0x5)"},
      {Tga(10, 5, 0, 24, 0, {}), "Unsupported tga image \"x.tga\" size (5x0)"},
      {Tga(2, 65535, 65535, 32, 0, {1, 2, 3, 4}), "Unsupported tga image \"x.tga\" size (65535x65535)"},
      {Tga(2, 2, 2, 24, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9}), truncated},        // uncompressed pixels missing
      {Tga(10, 4, 1, 32, 0, {0x03, 1, 2, 3, 4, 5, 6}), truncated},          // ends inside a raw packet
      {Tga(10, 200, 1, 24, 0, {0xFF, 1, 2, 3, 0, 1, 2, 3, 0x80}), truncated},  // ends after a packet header
      {Tga(10, 1000, 1000, 24, 0, {0xFF, 1, 2, 3}), truncated},             // far too short for the picture
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    const auto& [file, trace] = cases[i];
    Image image;
    image.pixels = AllocateBytes(4);  // a stale buffer must not survive a failed decode
    const ImageResult decoded = DecodeTga(&image, file.data(), file.size(), "x.tga");
    EXPECT_FALSE(decoded) << "case " << i;
    EXPECT_EQ(image.pixels, nullptr) << "case " << i;
    EXPECT_EQ(decoded.reason(), trace) << "case " << i;
    EXPECT_EQ(decoded.code(), trace == truncated ? ImageError::Truncated : ImageError::Unsupported) << "case " << i;
  }
}

// Every prefix of a real file (image-ID field and header included) is refused without
// reading past its end: each prefix is an allocation of exactly its length.
TEST(Tga, EveryTruncationOfARealFileIsRefused) {
  for (const char* name : {"im_t2_24_id.tga", "im_t10_32_bottom.tga"}) {
    const std::vector<uint8_t> file = Fixture(name);
    for (size_t keep = 0; keep < file.size(); ++keep) {
      const std::vector<uint8_t> prefix = fixtures::Prefix(file, keep);
      Image image;
      EXPECT_FALSE(DecodeTga(&image, prefix.data(), prefix.size(), name)) << name << " cut to " << keep << " bytes";
      EXPECT_EQ(image.pixels, nullptr) << name << " cut to " << keep << " bytes";
    }
  }
}

}  // namespace
