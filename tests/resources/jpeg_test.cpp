// JPEG decoding from memory against what libjpeg's own djpeg makes of the same files, and
// the refusal of truncated, corrupt and unsupported data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "resources/jpeg_decoder.h"
#include "tests/resources/fixture_files.h"

namespace {

using fixtures::Fixture;

class DjpegReference : public ::testing::TestWithParam<const char*> {};

// grayscale must come out as RGB like djpeg's P6 file; large_noise and long_comment span more
// than one 64 KiB input window, long_comment's 65,000-byte comment is skipped across a refill.
TEST_P(DjpegReference, DecodesToDjpegsSizeAndPixels) {
  const std::string base = GetParam();
  const std::vector<uint8_t> file = Fixture(base + ".jpg");
  const fixtures::Ppm expected = fixtures::ReadPpm(base + ".ppm");
  JpegRaster raster;
  ASSERT_TRUE(DecodeJpeg(file.data(), file.size(), &raster)) << base;
  ASSERT_EQ(raster.width, static_cast<uint32_t>(expected.width)) << base;
  ASSERT_EQ(raster.height, static_cast<uint32_t>(expected.height)) << base;
  EXPECT_EQ(fixtures::Bytes(raster.pixels.get(), size_t{raster.width} * raster.height * 3), expected.rgb) << base;
}

INSTANTIATE_TEST_SUITE_P(Files, DjpegReference,
                         ::testing::Values("baseline_420", "baseline_444", "progressive", "restarts", "grayscale",
                                           "large_noise", "long_comment"),
                         [](const ::testing::TestParamInfo<const char*>& p) { return std::string(p.param); });

// A file cut anywhere before its end-of-image marker (the last two bytes) is incomplete: the
// decode fails without reading beyond the cut (each prefix is an exact allocation) or looping.
TEST(Jpeg, EveryTruncationFails) {
  const auto expectFailure = [](const std::vector<uint8_t>& file, size_t keep, const char* name) {
    const std::vector<uint8_t> prefix = fixtures::Prefix(file, keep);
    JpegRaster raster;
    EXPECT_FALSE(DecodeJpeg(prefix.data(), prefix.size(), &raster)) << name << " cut to " << keep << " bytes";
    EXPECT_EQ(raster.pixels, nullptr) << name << " cut to " << keep << " bytes";
  };
  for (const char* name : {"baseline_420.jpg", "progressive.jpg"}) {
    const std::vector<uint8_t> file = Fixture(name);
    for (size_t keep = 0; keep + 2 <= file.size(); keep += (keep < 700 ? 1 : 7)) expectFailure(file, keep, name);
  }
  const std::vector<uint8_t> comment = Fixture("long_comment.jpg");  // cut inside the skipped comment
  for (size_t keep : {100, 65535, 65536, 65537, 65900}) expectFailure(comment, keep, "long_comment.jpg");
}

// Damage anywhere: the decode may succeed (libjpeg conceals some damage) or fail, but it
// returns, stays inside the buffer and leaks nothing (the leak checker runs at exit).
TEST(Jpeg, CorruptDataReturnsWithoutHarm) {
  const std::vector<uint8_t> file = Fixture("baseline_420.jpg");
  int failures = 0;
  for (size_t at = 0; at < file.size(); at += 3) {
    for (int value : {0x00, 0xFF, 0x5A}) {
      std::vector<uint8_t> damaged = file;
      damaged[at] = static_cast<uint8_t>(value);
      JpegRaster raster;
      const bool failed = !DecodeJpeg(damaged.data(), damaged.size(), &raster);
      failures += failed ? 1 : 0;
      EXPECT_EQ(raster.pixels == nullptr, failed) << "byte " << at << " set to " << value;
    }
  }
  EXPECT_GT(failures, 0) << "damaging markers should make some decodes fail";
}

TEST(Jpeg, RefusesWhatIsNoSupportedJpeg) {
  std::vector<uint8_t> huge = Fixture("baseline_420.jpg");  // 37 x 23, its frame header made to claim 60000 x 60000
  const uint8_t frame[] = {0xFF, 0xC0};
  std::memcpy(&*std::search(huge.begin(), huge.end(), frame, frame + 2) + 5, "\xEA\x60\xEA\x60", 4);
  // The reason comes with the refusal; for data the library rejects, in the library's words.
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
    ImageError code;
    std::string reason;
  } cases[] = {
      {"a GIF", {'G', 'I', 'F', '8', '9', 'a'}, ImageError::Damaged, "Not a JPEG file: starts with 0x47 0x49"},
      {"four components (CMYK)", Fixture("cmyk.jpg"), ImageError::Unsupported, "colour space 4 is not supported"},
      {"60000 x 60000", huge, ImageError::TooLarge, "60000x60000 pixels, more than 268435456 bytes"}};
  for (const auto& c : cases) {
    const std::vector<uint8_t> exact = fixtures::Prefix(c.bytes);
    JpegRaster raster;
    const ImageResult decoded = DecodeJpeg(exact.data(), exact.size(), &raster);
    EXPECT_EQ(decoded.code(), c.code) << c.what;
    EXPECT_EQ(decoded.reason(), c.reason) << c.what;
    EXPECT_EQ(raster.pixels, nullptr) << c.what;
  }
  JpegRaster raster;
  EXPECT_FALSE(DecodeJpeg(nullptr, 100, &raster)) << "null data";
}

TEST(Jpeg, SizeLimitIsExactAndCheckedBeforeDecoding) {
  const std::vector<uint8_t> file = Fixture("baseline_420.jpg");  // 37 x 23
  JpegRaster raster;
  EXPECT_FALSE(DecodeJpeg(file.data(), file.size(), &raster, 37 * 23 * 3 - 1));
  EXPECT_TRUE(DecodeJpeg(file.data(), file.size(), &raster, 37 * 23 * 3));
}

}  // namespace
