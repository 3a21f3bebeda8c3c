// JPEG decoding from memory against what libjpeg's own djpeg makes of the same files, and
// the refusal of truncated, corrupt and unsupported data.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/jpeg_decoder.h"
#include "tests/resources/fixture_files.h"

namespace {

using fixtures::Fixture;

class DjpegReference : public ::testing::TestWithParam<const char*> {};

TEST_P(DjpegReference, DecodesToDjpegsSizeAndPixels) {
  const std::string base = GetParam();
  const std::vector<uint8_t> file = Fixture(base + ".jpg");
  const fixtures::Ppm expected = fixtures::ReadPpm(base + ".ppm");
  JpegRaster raster;
  ASSERT_EQ(DecodeJpeg(file.data(), file.size(), &raster), 0) << base;
  ASSERT_EQ(raster.width, static_cast<uint32_t>(expected.width)) << base;
  ASSERT_EQ(raster.height, static_cast<uint32_t>(expected.height)) << base;
  ASSERT_EQ(expected.rgb.size(), size_t{raster.width} * raster.height * 3) << base;
  const std::vector<uint8_t> actual(raster.pixels.get(), raster.pixels.get() + expected.rgb.size());
  EXPECT_EQ(actual, expected.rgb) << base;
}

// large_noise and long_comment span more than one 64 KiB input window; long_comment's
// 65,000-byte comment is skipped across a window refill.
INSTANTIATE_TEST_SUITE_P(Files, DjpegReference,
                         ::testing::Values("baseline_420", "baseline_444", "progressive", "restarts", "grayscale",
                                           "large_noise", "long_comment"),
                         [](const ::testing::TestParamInfo<const char*>& p) { return std::string(p.param); });

TEST(Jpeg, EveryTruncationFailsWithoutReadingBeyondIt) {
  for (const char* name : {"baseline_420.jpg", "progressive.jpg"}) {
    const std::vector<uint8_t> file = Fixture(name);
    // The last two bytes are the end-of-image marker; a file cut anywhere before them is
    // incomplete.
    for (size_t keep = 0; keep + 2 <= file.size(); keep += (keep < 700 ? 1 : 7)) {
      std::vector<uint8_t> prefix(file.begin(), file.begin() + static_cast<long>(keep));
      prefix.shrink_to_fit();
      JpegRaster raster;
      EXPECT_NE(DecodeJpeg(prefix.data(), prefix.size(), &raster), 0) << name << " cut to " << keep << " bytes";
      EXPECT_EQ(raster.pixels, nullptr) << name << " cut to " << keep;
    }
  }
}

TEST(Jpeg, LongCommentCutInsideTheSkipFails) {
  const std::vector<uint8_t> file = Fixture("long_comment.jpg");
  for (size_t keep : {size_t{100}, size_t{65535}, size_t{65536}, size_t{65537}, size_t{65900}}) {
    std::vector<uint8_t> prefix(file.begin(), file.begin() + static_cast<long>(keep));
    JpegRaster raster;
    EXPECT_NE(DecodeJpeg(prefix.data(), prefix.size(), &raster), 0) << "cut to " << keep;
  }
}

// Damage anywhere: the decode may succeed (libjpeg conceals some damage) or fail, but it
// returns, stays inside the buffer and leaks nothing (the leak checker runs at exit).
TEST(Jpeg, CorruptDataReturnsWithoutHarm) {
  const std::vector<uint8_t> file = Fixture("baseline_420.jpg");
  int failures = 0;
  for (size_t at = 0; at < file.size(); at += 3) {
    for (uint8_t value : {uint8_t{0x00}, uint8_t{0xFF}, uint8_t{0x5A}}) {
      std::vector<uint8_t> damaged = file;
      damaged[at] = value;
      JpegRaster raster;
      const int result = DecodeJpeg(damaged.data(), damaged.size(), &raster);
      if (result != 0) {
        ++failures;
        EXPECT_EQ(raster.pixels, nullptr);
      } else {
        EXPECT_NE(raster.pixels, nullptr);
      }
    }
  }
  EXPECT_GT(failures, 0) << "damaging markers should make some decodes fail";
}

TEST(Jpeg, RefusesWhatIsNoJpeg) {
  const std::vector<std::vector<uint8_t>> cases = {
      {}, {0xFF}, {0xFF, 0xD8}, {0xFF, 0xD8, 0xFF, 0xD9}, {'G', 'I', 'F', '8', '9', 'a'}};
  for (const std::vector<uint8_t>& bytes : cases) {
    JpegRaster raster;
    EXPECT_NE(DecodeJpeg(bytes.data(), bytes.size(), &raster), 0) << bytes.size() << " bytes";
  }
  JpegRaster raster;
  EXPECT_NE(DecodeJpeg(nullptr, 100, &raster), 0);
}

TEST(Jpeg, GrayscaleComesOutAsRgb) {
  const std::vector<uint8_t> file = Fixture("grayscale.jpg");
  JpegRaster raster;
  ASSERT_EQ(DecodeJpeg(file.data(), file.size(), &raster), 0);
  for (size_t i = 0; i < size_t{raster.width} * raster.height; ++i) {
    const uint8_t* p = raster.pixels.get() + 3 * i;
    ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << "pixel " << i;
  }
}

TEST(Jpeg, RefusesFourComponentFiles) {
  const std::vector<uint8_t> file = Fixture("cmyk.jpg");
  JpegRaster raster;
  EXPECT_NE(DecodeJpeg(file.data(), file.size(), &raster), 0);
  EXPECT_EQ(raster.pixels, nullptr);
}

TEST(Jpeg, SizeLimitIsCheckedBeforeDecoding) {
  const std::vector<uint8_t> file = Fixture("baseline_420.jpg");  // 37 x 23
  JpegRaster raster;
  EXPECT_NE(DecodeJpeg(file.data(), file.size(), &raster, 37 * 23 * 3 - 1), 0);
  EXPECT_EQ(DecodeJpeg(file.data(), file.size(), &raster, 37 * 23 * 3), 0);
}

TEST(Jpeg, HugeDeclaredSizeIsRefused) {
  // The 37 x 23 file with its frame header claiming 60000 x 60000.
  std::vector<uint8_t> file = Fixture("baseline_420.jpg");
  for (size_t i = 0; i + 8 < file.size(); ++i) {
    if (file[i] == 0xFF && file[i + 1] == 0xC0) {
      file[i + 5] = 0xEA; file[i + 6] = 0x60; file[i + 7] = 0xEA; file[i + 8] = 0x60;
      break;
    }
  }
  JpegRaster raster;
  EXPECT_NE(DecodeJpeg(file.data(), file.size(), &raster), 0);
}

}  // namespace
