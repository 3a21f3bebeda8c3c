// Images from the archive: the extension rule, the hand-over of a decoded JPEG, and that a
// failed load leaves no buffer behind.
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
    archive_ = fixtures::Fixture("images.zip");
    ASSERT_TRUE(pak_.Open(archive_.data(), static_cast<int32_t>(archive_.size()))) << LastTrace();
  }
  std::vector<uint8_t> archive_;
  ResourcePak pak_;
};

TEST_F(ReadImageTest, JpegMemberBecomesA24BitImage) {
  Image image;
  ASSERT_EQ(ReadImage(&image, "photo.jpg", pak_), 1) << LastTrace();
  EXPECT_EQ(image.width, 37);
  EXPECT_EQ(image.height, 23);
  EXPECT_EQ(image.bitsPerPixel, 24);
  const fixtures::Ppm expected = fixtures::ReadPpm("baseline_420.ppm");
  EXPECT_EQ(std::vector<uint8_t>(image.pixels.get(), image.pixels.get() + expected.rgb.size()), expected.rgb);
}

TEST_F(ReadImageTest, TgaMemberKeepsItsDepth) {
  Image image;
  ASSERT_EQ(ReadImage(&image, "picture.tga", pak_), 1) << LastTrace();
  EXPECT_EQ(image.bitsPerPixel, 32);
  const std::vector<uint8_t> expected = fixtures::Fixture("im_t10_32_top.rgba");
  EXPECT_EQ(std::vector<uint8_t>(image.pixels.get(), image.pixels.get() + expected.size()), expected);
}

TEST_F(ReadImageTest, LookupIgnoresCaseButTheExtensionRuleDoesNot) {
  // "PHOTO.jpg" finds photo.jpg in the archive and its extension is ".jpg".
  Image image;
  EXPECT_EQ(ReadImage(&image, "PHOTO.jpg", pak_), 1) << LastTrace();
}

struct RefusedName {
  const char* name;
  std::string trace;
};

class ReadImageRefusal : public ReadImageTest, public ::testing::WithParamInterface<RefusedName> {};

TEST_P(ReadImageRefusal, FailsWithItsTraceAndNoBuffer) {
  const RefusedName& c = GetParam();
  Image image;
  image.pixels = AllocateBytes(8);  // a stale buffer is dropped first
  ClearLastTrace();
  EXPECT_EQ(ReadImage(&image, c.name, pak_), 0) << c.name;
  EXPECT_EQ(image.pixels, nullptr) << c.name;
  EXPECT_EQ(LastTrace(), c.trace) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, ReadImageRefusal,
    ::testing::Values(RefusedName{"photo.JPG", "Unknown image \"photo.JPG\" format"},
                      RefusedName{"photo.jpg.bak", "Unknown image \"photo.jpg.bak\" format"},
                      RefusedName{"a.b.jpg", "Unknown image \"a.b.jpg\" format"},
                      RefusedName{"photo.jpeg", "Unknown image \"photo.jpeg\" format"},
                      RefusedName{"photo", "Unknown image \"photo\" format"},
                      RefusedName{"picture.TGA", "Unknown image \"picture.TGA\" format"},
                      RefusedName{"truncated.jpg", "Can't decompress jpeg image \"truncated.jpg\""},
                      RefusedName{"notajpeg.jpg", "Can't decompress jpeg image \"notajpeg.jpg\""},
                      RefusedName{"cmap.tga", "Unsupported tga image \"cmap.tga\" pixel size (size=24)"},
                      RefusedName{"missing.jpg", "File \"_ResourceData:missing.jpg\" not found"}),
    [](const ::testing::TestParamInfo<RefusedName>& p) { return "case" + std::to_string(p.index); });

}  // namespace
