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

struct ImageMagickCase {
  const char* name;
  int bits;
};

class ImageMagickTga : public ::testing::TestWithParam<ImageMagickCase> {};

TEST_P(ImageMagickTga, DecodesToThePixelsImageMagickReads) {
  const ImageMagickCase& c = GetParam();
  const std::string base = c.name;
  const std::vector<uint8_t> file = Fixture(base + ".tga");
  const std::vector<uint8_t> expected = Fixture(base + (c.bits == 32 ? ".rgba" : ".rgb"));
  Image image;
  ASSERT_EQ(DecodeTga(&image, file.data(), file.size(), c.name), 1) << c.name << ": " << LastTrace();
  EXPECT_EQ(image.width, 13) << c.name;
  EXPECT_EQ(image.height, 7) << c.name;
  EXPECT_EQ(image.bitsPerPixel, c.bits) << c.name;
  ASSERT_EQ(expected.size(), size_t{13} * 7 * static_cast<size_t>(c.bits / 8)) << c.name;
  const std::vector<uint8_t> actual(image.pixels.get(), image.pixels.get() + expected.size());
  EXPECT_EQ(actual, expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Variants, ImageMagickTga,
    ::testing::Values(ImageMagickCase{"im_t2_24_bottom", 24}, ImageMagickCase{"im_t2_24_top", 24},
                      ImageMagickCase{"im_t10_24_bottom", 24}, ImageMagickCase{"im_t10_24_top", 24},
                      ImageMagickCase{"im_t2_32_bottom", 32}, ImageMagickCase{"im_t2_32_top", 32},
                      ImageMagickCase{"im_t10_32_bottom", 32}, ImageMagickCase{"im_t10_32_top", 32},
                      ImageMagickCase{"im_t2_24_id", 24}, ImageMagickCase{"im_t10_32_id", 32}),
    [](const ::testing::TestParamInfo<ImageMagickCase>& p) { return std::string(p.param.name); });

// A hand-made TGA: header, optional image-ID bytes, then the pixel data as given.
std::vector<uint8_t> Tga(uint8_t type, int width, int height, uint8_t depth, uint8_t descriptor,
                         const std::vector<uint8_t>& data, uint8_t idLength = 0, uint8_t colourMapType = 0) {
  std::vector<uint8_t> file = {idLength, colourMapType, type, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                               static_cast<uint8_t>(width), static_cast<uint8_t>(width >> 8),
                               static_cast<uint8_t>(height), static_cast<uint8_t>(height >> 8), depth, descriptor};
  for (int i = 0; i < idLength; ++i) file.push_back(static_cast<uint8_t>('a' + i % 26));
  file.insert(file.end(), data.begin(), data.end());
  file.shrink_to_fit();
  return file;
}

std::vector<uint8_t> Pixels(const Image& image) {
  const size_t size = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) *
                      static_cast<size_t>(image.bitsPerPixel / 8);
  return image.pixels ? std::vector<uint8_t>(image.pixels.get(), image.pixels.get() + size) : std::vector<uint8_t>();
}

struct PacketCase {
  const char* what;
  uint8_t type;
  int width;
  int height;
  uint8_t depth;
  uint8_t descriptor;
  std::vector<uint8_t> data;
  std::vector<uint8_t> expected;  // decoded buffer, top row first
};

class HandMadeTga : public ::testing::TestWithParam<PacketCase> {};

TEST_P(HandMadeTga, DecodesToTheExpectedRows) {
  const PacketCase& c = GetParam();
  const std::vector<uint8_t> file = Tga(c.type, c.width, c.height, c.depth, c.descriptor, c.data);
  Image image;
  ASSERT_EQ(DecodeTga(&image, file.data(), file.size(), c.what), 1) << c.what << ": " << LastTrace();
  EXPECT_EQ(Pixels(image), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Packets, HandMadeTga,
    ::testing::Values(
        PacketCase{"32-bit keeps alpha", 2, 1, 1, 32, 0x20, {10, 20, 30, 40}, {30, 20, 10, 40}},
        PacketCase{"run header 0x85 writes its pixel 6 times", 10, 6, 1, 24, 0x20,
                   {0x85, 1, 2, 3}, {3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1}},
        PacketCase{"raw header 0x02 is followed by 3 pixels", 10, 3, 1, 24, 0x20,
                   {0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {3, 2, 1, 6, 5, 4, 9, 8, 7}},
        PacketCase{"run crossing a row, top row first", 10, 2, 2, 24, 0x20,
                   {0x82, 1, 1, 1, 0x00, 2, 2, 2}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2}},
        PacketCase{"run crossing a row, bottom row first", 10, 2, 2, 24, 0x00,
                   {0x82, 1, 1, 1, 0x00, 2, 2, 2}, {1, 1, 1, 2, 2, 2, 1, 1, 1, 1, 1, 1}},
        PacketCase{"raw packet crossing a row", 10, 2, 2, 24, 0x20,
                   {0x02, 1, 1, 1, 2, 2, 2, 3, 3, 3, 0x80, 4, 4, 4}, {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4}},
        PacketCase{"run past the last row stops at the end", 10, 2, 1, 24, 0x20,
                   {0xFF, 7, 8, 9}, {9, 8, 7, 9, 8, 7}},
        PacketCase{"raw packet past the last row reads no further", 10, 1, 1, 24, 0x20,
                   {0x7F, 7, 8, 9}, {9, 8, 7}},
        PacketCase{"input after the last row is ignored", 2, 1, 1, 24, 0x00,
                   {1, 2, 3, 99, 99, 99, 99}, {3, 2, 1}},
        PacketCase{"uncompressed bottom row first", 2, 1, 2, 24, 0x00,
                   {1, 1, 1, 2, 2, 2}, {2, 2, 2, 1, 1, 1}}),
    [](const ::testing::TestParamInfo<PacketCase>& p) { return "case" + std::to_string(p.index); });

TEST(Tga, RowOrderBitGivesTheSamePictureEitherWay) {
  const std::vector<uint8_t> bottomFirst = Tga(2, 2, 2, 24, 0x00, {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4});
  const std::vector<uint8_t> topFirst = Tga(2, 2, 2, 24, 0x20, {3, 3, 3, 4, 4, 4, 1, 1, 1, 2, 2, 2});
  Image a, b;
  ASSERT_EQ(DecodeTga(&a, bottomFirst.data(), bottomFirst.size(), "bottom"), 1);
  ASSERT_EQ(DecodeTga(&b, topFirst.data(), topFirst.size(), "top"), 1);
  EXPECT_EQ(Pixels(a), Pixels(b));
}

TEST(Tga, ImageIdFieldIsSkipped) {
  const std::vector<uint8_t> data = {0x81, 5, 6, 7, 0x00, 8, 9, 10};
  const std::vector<uint8_t> plain = Tga(10, 3, 1, 24, 0x20, data);
  const std::vector<uint8_t> withId = Tga(10, 3, 1, 24, 0x20, data, 20);
  Image a, b;
  ASSERT_EQ(DecodeTga(&a, plain.data(), plain.size(), "plain"), 1);
  ASSERT_EQ(DecodeTga(&b, withId.data(), withId.size(), "id"), 1);
  EXPECT_EQ(Pixels(a), Pixels(b));
}

struct RefusalCase {
  const char* what;
  std::vector<uint8_t> file;
  std::string trace;
};

class TgaRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(TgaRefusal, FailsWithItsTraceAndNoBuffer) {
  const RefusalCase& c = GetParam();
  Image image;
  image.pixels = AllocateBytes(4);  // a stale buffer must not survive a failed decode
  ClearLastTrace();
  EXPECT_EQ(DecodeTga(&image, c.file.data(), c.file.size(), "x.tga"), 0) << c.what;
  EXPECT_EQ(image.pixels, nullptr) << c.what;
  EXPECT_EQ(LastTrace(), c.trace) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, TgaRefusal,
    ::testing::Values(
        RefusalCase{"colour-mapped type 1", Tga(1, 1, 1, 8, 0, {0}), "Unsupported tga image \"x.tga\" type (type=1)"},
        RefusalCase{"grey type 3", Tga(3, 1, 1, 8, 0, {0}), "Unsupported tga image \"x.tga\" type (type=3)"},
        RefusalCase{"colour-map type 1 at depth 24", Tga(2, 1, 1, 24, 0, {1, 2, 3}, 0, 1),
                    "Unsupported tga image \"x.tga\" pixel size (size=24)"},
        RefusalCase{"depth 16", Tga(2, 1, 1, 16, 0, {1, 2}), "Unsupported tga image \"x.tga\" pixel size (size=16)"},
        RefusalCase{"depth 8 run-length", Tga(10, 1, 1, 8, 0, {0, 1}),
                    "Unsupported tga image \"x.tga\" pixel size (size=8)"},
        RefusalCase{"zero width", Tga(2, 0, 5, 24, 0, {}), "Unsupported tga image \"x.tga\" size (0x5)"},
        RefusalCase{"zero height", Tga(10, 5, 0, 24, 0, {}), "Unsupported tga image \"x.tga\" size (5x0)"},
        RefusalCase{"64k x 64k at 32 bits, beyond the size limit", Tga(2, 65535, 65535, 32, 0, {1, 2, 3, 4}),
                    "Unsupported tga image \"x.tga\" size (65535x65535)"},
        RefusalCase{"header cut short", std::vector<uint8_t>{0, 0, 2, 0, 0}, "Truncated tga image \"x.tga\""},
        RefusalCase{"image-ID longer than the file",
                    [] {
                      std::vector<uint8_t> file = Tga(2, 1, 1, 24, 0, {1, 2, 3});
                      file[0] = 50;
                      return file;
                    }(),
                    "Truncated tga image \"x.tga\""},
        RefusalCase{"uncompressed pixels missing", Tga(2, 2, 2, 24, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9}),
                    "Truncated tga image \"x.tga\""},
        RefusalCase{"run-length data ends inside a raw packet", Tga(10, 4, 1, 32, 0, {0x03, 1, 2, 3, 4, 5, 6}),
                    "Truncated tga image \"x.tga\""},
        RefusalCase{"run-length data ends after a packet header", Tga(10, 200, 1, 24, 0, {0xFF, 1, 2, 3, 0x00, 1, 2, 3, 0x80}),
                    "Truncated tga image \"x.tga\""},
        RefusalCase{"run-length data too short for the picture", Tga(10, 1000, 1000, 24, 0, {0xFF, 1, 2, 3}),
                    "Truncated tga image \"x.tga\""}),
    [](const ::testing::TestParamInfo<RefusalCase>& p) { return "case" + std::to_string(p.index); });

// Every prefix of a valid file is refused, and refused without reading past its end (each
// prefix is a separate allocation of exactly its length).
TEST(Tga, EveryTruncationOfARealFileIsRefused) {
  for (const char* name : {"im_t2_24_id.tga", "im_t10_32_bottom.tga"}) {
    const std::vector<uint8_t> file = Fixture(name);
    for (size_t keep = 0; keep < file.size(); ++keep) {
      std::vector<uint8_t> prefix(file.begin(), file.begin() + static_cast<long>(keep));
      prefix.shrink_to_fit();
      Image image;
      EXPECT_EQ(DecodeTga(&image, prefix.data(), prefix.size(), name), 0) << name << " cut to " << keep << " bytes";
      EXPECT_EQ(image.pixels, nullptr);
    }
  }
}

}  // namespace
