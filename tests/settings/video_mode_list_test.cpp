// The video mode list in plain C++: which driver modes are offered, their text, and the
// choice read back into the settings.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

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

}  // namespace
