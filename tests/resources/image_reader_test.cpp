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
    ASSERT_TRUE(pak_.Open(archive_.data(), static_cast<int32_t>(archive_.size()))) << pak_.LastResult().reason();
  }
  const std::vector<uint8_t> archive_ = fixtures::Fixture("images.zip");
  ResourcePak pak_;
};

TEST_F(ReadImageTest, JpegBecomesA24BitImageAndTgaKeepsItsDepth) {
  Image jpeg, tga;
  ImageResult read = ReadImage(&jpeg, "PHOTO.jpg", pak_);
  ASSERT_TRUE(read) << "photo.jpg, looked up ignoring case: " << read.reason();
  EXPECT_EQ(jpeg.width, 37);
  EXPECT_EQ(jpeg.height, 23);
  EXPECT_EQ(jpeg.bitsPerPixel, 24);
  EXPECT_EQ(fixtures::Bytes(jpeg.pixels.get(), 37 * 23 * 3), fixtures::ReadPpm("baseline_420.ppm").rgb);

  read = ReadImage(&tga, "picture.tga", pak_);
  ASSERT_TRUE(read) << read.reason();
  EXPECT_EQ(tga.bitsPerPixel, 32);
  EXPECT_EQ(fixtures::Bytes(tga.pixels.get(), 13 * 7 * 4), fixtures::Fixture("im_t10_32_top.rgba"));
}

// The extension runs from the first dot and is ".jpg" or ".tga", letter-exact; every member
// named here exists in the archive unless the trace says otherwise. A JPEG's trace goes on
// with the decoder's reason, a missing member's is the archive's.
TEST_F(ReadImageTest, RefusalsLeaveTheirTraceAndNoBuffer) {
  const struct {
    const char* name;
    ImageError code;
    std::string trace;
  } cases[] = {
      {"photo.JPG", ImageError::UnknownFormat, "Unknown image \"photo.JPG\" format"},
      {"photo.jpg.bak", ImageError::UnknownFormat, "Unknown image \"photo.jpg.bak\" format"},
      {"a.b.jpg", ImageError::UnknownFormat, "Unknown image \"a.b.jpg\" format"},
      {"photo.jpeg", ImageError::UnknownFormat, "Unknown image \"photo.jpeg\" format"},
      {"photo", ImageError::UnknownFormat, "Unknown image \"photo\" format"},
      {"picture.TGA", ImageError::UnknownFormat, "Unknown image \"picture.TGA\" format"},
      {"truncated.jpg", ImageError::Damaged,
       "Can't decompress jpeg image \"truncated.jpg\": Invalid JPEG file structure: missing SOS marker"},
      {"notajpeg.jpg", ImageError::Damaged,
       "Can't decompress jpeg image \"notajpeg.jpg\": Not a JPEG file: starts with 0x47 0x49"},
      {"cmap.tga", ImageError::Unsupported, "Unsupported tga image \"cmap.tga\" pixel size (size=24)"},
      {"missing.jpg", ImageError::NotInArchive, "File \"_ResourceData:missing.jpg\" not found"}};
  for (const auto& c : cases) {
    Image image;
    image.pixels = AllocateBytes(8);  // a stale buffer is dropped first
    const ImageResult read = ReadImage(&image, c.name, pak_);
    EXPECT_EQ(read.code(), c.code) << c.name;
    EXPECT_EQ(image.pixels, nullptr) << c.name;
    EXPECT_EQ(read.reason(), c.trace) << c.name;
  }
}

}  // namespace
