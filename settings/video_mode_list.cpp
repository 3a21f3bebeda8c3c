#include "settings/video_mode_list.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr uint32_t kBitsField = 0x40000, kWidthField = 0x80000, kHeightField = 0x100000;
}

void VideoModeList::Build(const DriverModeSource& driver) {
  Clear();
  DriverMode reported;
  for (uint32_t index = 0; driver(index, &reported); ++index) {
    if ((reported.fields & (kBitsField | kWidthField | kHeightField)) == 0) continue;
    Add(reported.mode);
  }
}

bool VideoModeList::Add(const VideoMode& mode) {
  if (std::find(modes_.begin(), modes_.end(), mode) != modes_.end()) return false;
  if (mode.bitsPerPixel <= 8) return false;
  modes_.push_back(mode);
  return true;
}

std::string FormatVideoMode(const VideoMode& mode) {
  char text[64];
  std::snprintf(text, sizeof text, "%dx%d (%d bits)", mode.width, mode.height, mode.bitsPerPixel);
  return text;
}

void ApplyVideoModeChoice(bool selected, intptr_t itemData, const VideoModeList& modes, Settings& settings) {
  if (!selected) {
    settings.CurrentVideomode = 1;
    return;
  }
  if (itemData < 0 || static_cast<size_t>(itemData) >= modes.size()) return;  // the placeholder keeps the mode
  const VideoMode& mode = modes[static_cast<size_t>(itemData)];
  settings.XResolution = mode.width;
  settings.YResolution = mode.height;
  settings.ColorDepth = mode.bitsPerPixel;
}
