// The video mode list and the picture rows in plain C++: which driver modes are offered,
// their text, the choice read back into the settings, and 256-colour rows of odd width.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "settings/dib_rows.h"
#include "settings/video_mode_list.h"

namespace {

TEST(VideoModeList, OneItemPerModeWithoutEightBitModesInTheDriversOrder) {
  const std::vector<DriverMode> driver = {
      {0x1C0000, {1024, 768, 16}}, {0x1C0000, {640, 480, 8}},   {0x1C0000, {1024, 768, 16}},
      {0x000000, {1600, 1200, 32}},  // no size or depth field filled: skipped
      {0x080000, {1280, 1024, 32}},  // one field is enough
      {0x1C0000, {1024, 768, 16}},   {0x1C0000, {800, 600, 4}},   {0x1C0000, {1024, 768, 32}},
  };
  VideoModeList list;
  list.Add({1, 1, 32});  // a build starts from nothing
  list.Build([&](uint32_t index, DriverMode* mode) {
    if (index >= driver.size()) return false;
    *mode = driver[index];
    return true;
  });
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(FormatVideoMode(list[0]), "1024x768 (16 bits)");
  EXPECT_EQ(FormatVideoMode(list[1]), "1280x1024 (32 bits)");
  EXPECT_EQ(FormatVideoMode(list[2]), "1024x768 (32 bits)");

  VideoModeList none;
  none.Build([](uint32_t, DriverMode*) { return false; });
  EXPECT_TRUE(none.empty());
}

TEST(VideoModeList, TheChoiceBackIntoTheSettings) {
  VideoModeList list;
  list.Add({800, 600, 32});
  Settings settings;
  settings.CurrentVideomode = 0;
  ApplyVideoModeChoice(true, kStoredModeItem, list, settings);  // the placeholder keeps the stored mode
  EXPECT_EQ(settings.XResolution, 1024);
  EXPECT_EQ(settings.CurrentVideomode, 0);
  ApplyVideoModeChoice(true, 0, list, settings);
  EXPECT_EQ(settings.XResolution, 800);
  EXPECT_EQ(settings.YResolution, 600);
  EXPECT_EQ(settings.ColorDepth, 32);
  EXPECT_EQ(settings.CurrentVideomode, 0) << "the check box decides";
  ApplyVideoModeChoice(false, 0, list, settings);
  EXPECT_EQ(settings.CurrentVideomode, 1) << "nothing selected: the desktop's mode";
  EXPECT_EQ(settings.XResolution, 800);
}

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
