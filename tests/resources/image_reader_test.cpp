// Images from the archive: the extension rule, the hand-over of a decoded picture, and that
// a failed load leaves no buffer behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/image_reader.h"
#include "resources/trace.h"
#include "tests/resources/fixture_files.h"

namespace {

class ReadImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pak_.Open(archive_.data(), static_cast<int32_t>(archive_.size()))) << pak_.LastError();
  }
  const std::vector<uint8_t> archive_ = fixtures::Fixture("images.zip");
  ResourcePak pak_;
};

TEST_F(ReadImageTest, JpegBecomesA24BitImageAndTgaKeepsItsDepth) {
  Image jpeg, tga;
  std::string why;
  ASSERT_TRUE(ReadImage(&jpeg, "PHOTO.jpg", pak_, &why)) << "photo.jpg, looked up ignoring case: " << why;
  EXPECT_EQ(jpeg.width, 37);
  EXPECT_EQ(jpeg.height, 23);
  EXPECT_EQ(jpeg.bitsPerPixel, 24);
  EXPECT_EQ(fixtures::Bytes(jpeg.pixels.get(), 37 * 23 * 3), fixtures::ReadPpm("baseline_420.ppm").rgb);

  ASSERT_TRUE(ReadImage(&tga, "picture.tga", pak_, &why)) << why;
  EXPECT_EQ(tga.bitsPerPixel, 32);
  EXPECT_EQ(fixtures::Bytes(tga.pixels.get(), 13 * 7 * 4), fixtures::Fixture("im_t10_32_top.rgba"));
}

// The extension runs from the first dot and is ".jpg" or ".tga", letter-exact; every member
// named here exists in the archive unless the trace says otherwise.
TEST_F(ReadImageTest, RefusalsLeaveTheirTraceAndNoBuffer) {
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"photo.JPG", "Unknown image \"photo.JPG\" format"},
      {"photo.jpg.bak", "Unknown image \"photo.jpg.bak\" format"},
      {"a.b.jpg", "Unknown image \"a.b.jpg\" format"},
      {"photo.jpeg", "Unknown image \"photo.jpeg\" format"},
      {"photo", "Unknown image \"photo\" format"},
      {"picture.TGA", "Unknown image \"picture.TGA\" format"},
      {"truncated.jpg", "Can't decompress jpeg image \"truncated.jpg\""},
      {"notajpeg.jpg", "Can't decompress jpeg image \"notajpeg.jpg\""},
      {"cmap.tga", "Unsupported tga image \"cmap.tga\" pixel size (size=24)"},
      {"missing.jpg", "File \"_ResourceData:missing.jpg\" not found"}};
  for (const auto& [name, trace] : cases) {
    Image image;
    image.pixels = AllocateBytes(8);  // a stale buffer is dropped first
    std::string why;
    EXPECT_FALSE(ReadImage(&image, name, pak_, &why)) << name;
    EXPECT_EQ(image.pixels, nullptr) << name;
    EXPECT_EQ(why, trace) << name;
  }
}

}  // namespace
