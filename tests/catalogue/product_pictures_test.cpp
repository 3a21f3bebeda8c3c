// The checks a screenshot and an icon pass before they become a product's picture: which
// bitmap files are the icon the product list shows, and which JPEG files decode within the
// screenshot's bounds. Every refusal is made without reading beyond the bytes given (the
// bytes sit in buffers of exactly their length, where the address sanitizer sees a read past
// the end).
#include "catalogue/product_pictures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/catalogue_limits.h"
#include "tests/catalogue/test_pictures.h"

namespace {

std::vector<uint8_t> Exact(const std::string& bytes) {
  std::vector<uint8_t> exact(bytes.begin(), bytes.end());
  exact.shrink_to_fit();
  return exact;
}

bool Icon(const std::string& bytes) {
  const std::vector<uint8_t> exact = Exact(bytes);
  return IsProductIcon(exact.data(), exact.size());
}

bool Screenshot(const std::string& bytes) {
  const std::vector<uint8_t> exact = Exact(bytes);
  JpegRaster raster;
  return DecodeScreenshot(exact.data(), exact.size(), &raster);
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  EXPECT_TRUE(file) << path;
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(ProductPictures, AnIconIsASmallUncompressedBitmapOf32By32) {
  const auto With = [](auto change) {
    BmpShape shape;
    change(shape);
    return Bmp(shape);
  };
  const std::string icon = IconBmp();
  const struct {
    const char* what;
    std::string bytes;
    bool taken;
  } cases[] = {
      {"24 bits, bottom-up", icon, true},
      {"top-down", With([](BmpShape& s) { s.height = -32; }), true},
      {"32 bits", With([](BmpShape& s) { s.bits = 32; }), true},
      {"16 bits", With([](BmpShape& s) { s.bits = 16; }), true},
      {"8 bits, full palette", With([](BmpShape& s) { s.bits = 8; }), true},
      {"8 bits, 16 colours", With([](BmpShape& s) { s.bits = 8, s.colours = 16; }), true},
      {"4 bits", With([](BmpShape& s) { s.bits = 4; }), true},
      {"1 bit", With([](BmpShape& s) { s.bits = 1; }), true},
      {"version 4 header, sRGB", With([](BmpShape& s) { s.infoBytes = 108; }), true},
      {"version 5 header, the system's colours", With([](BmpShape& s) { s.infoBytes = 124, s.colourSpace = 0x57696E20; }),
       true},
      {"image size left 0", With([](BmpShape& s) { s.imageBytes = 0; }), true},
      {"bytes after the rows", icon + "trailing", true},
      {"an HTML page", NotFoundPage(), false},
      {"cut short by one byte", icon.substr(0, icon.size() - 1), false},
      {"not BM", "XY" + icon.substr(2), false},
      {"33 wide", With([](BmpShape& s) { s.width = 33; }), false},
      {"31 high", With([](BmpShape& s) { s.height = 31; }), false},
      {"31 high top-down", With([](BmpShape& s) { s.height = -31; }), false},
      {"a large picture", With([](BmpShape& s) { s.width = 40, s.height = 40; }), false},
      {"run-length compressed", With([](BmpShape& s) { s.bits = 8, s.compression = 1; }), false},
      {"bit fields", With([](BmpShape& s) { s.bits = 32, s.compression = 3; }), false},
      {"two planes", With([](BmpShape& s) { s.planes = 2; }), false},
      {"2 bits", With([](BmpShape& s) { s.bits = 2; }), false},
      {"257 colours of 8 bits", With([](BmpShape& s) { s.bits = 8, s.colours = 257; }), false},
      {"rows inside the palette", With([](BmpShape& s) { s.bits = 8, s.pixelsAt = 54; }), false},
      {"rows past the end", With([](BmpShape& s) { s.pixelsAt = 1 << 20; }), false},
      {"an OS/2 header", With([](BmpShape& s) { s.infoBytes = 12; }), false},
      {"an embedded colour profile", With([](BmpShape& s) { s.infoBytes = 124, s.colourSpace = 0x4D424544; }),
       false},
      {"a linked colour profile", With([](BmpShape& s) { s.infoBytes = 124, s.colourSpace = 0x4C494E4B; }), false},
      {"a wrong image size", With([](BmpShape& s) { s.imageBytes = 100; }), false},
      {"over the size bound", icon + std::string(kMaxIconBytes + 1 - icon.size(), '\0'), false},
      {"empty", "", false},
  };
  for (const auto& c : cases) EXPECT_EQ(Icon(c.bytes), c.taken) << c.what;
  for (size_t keep = 0; keep < icon.size(); ++keep) EXPECT_FALSE(Icon(icon.substr(0, keep))) << keep << " bytes";
  EXPECT_TRUE(Icon(icon + std::string(kMaxIconBytes - icon.size(), '\0'))) << "exactly at the size bound";
}

TEST(ProductPictures, AScreenshotIsAJpegThatDecodesWholeWithinItsBounds) {
  const std::string shot = ReadFile(TELLARO_DATA_DIR "/phobos2.jpg");
  EXPECT_TRUE(Screenshot(shot));
  EXPECT_TRUE(Screenshot(shot + std::string(kMaxScreenshotBytes - shot.size(), '\0'))) << "at the size bound";
  EXPECT_FALSE(Screenshot(shot + std::string(kMaxScreenshotBytes + 1 - shot.size(), '\0'))) << "over it";
  EXPECT_FALSE(Screenshot(shot.substr(0, shot.size() / 2))) << "a body cut short";
  EXPECT_FALSE(Screenshot(NotFoundPage()));
  EXPECT_FALSE(Screenshot(IconBmp()));
  EXPECT_FALSE(Screenshot(""));

  // A progressive file with its last scan repeated: the decoder takes such repeats, and each
  // one passes over the whole picture again, so only the count of scans bounds the time.
  const std::string progressive = ReadFile(TELLARO_RESOURCE_FIXTURES "/progressive.jpg");
  const size_t lastScan = progressive.rfind("\xFF\xDA");
  ASSERT_NE(lastScan, std::string::npos);
  ASSERT_EQ(progressive.compare(progressive.size() - 2, 2, "\xFF\xD9"), 0);
  const std::string scan = progressive.substr(lastScan, progressive.size() - 2 - lastScan);
  int scans = 0;
  for (size_t at = progressive.find("\xFF\xDA"); at != std::string::npos; at = progressive.find("\xFF\xDA", at + 2))
    ++scans;
  const auto WithScans = [&](int total) {
    std::string file = progressive.substr(0, progressive.size() - 2);
    for (int n = scans; n < total; ++n) file += scan;
    return file + "\xFF\xD9";
  };
  EXPECT_TRUE(Screenshot(WithScans(kMaxScreenshotScans)));
  EXPECT_FALSE(Screenshot(WithScans(kMaxScreenshotScans + 1)));
  EXPECT_FALSE(Screenshot(WithScans(5000)));
  JpegRaster raster;
  const std::vector<uint8_t> many = Exact(WithScans(5000));
  EXPECT_TRUE(DecodeJpeg(many.data(), many.size(), &raster)) << "the decoder alone would take it";
}

}  // namespace
