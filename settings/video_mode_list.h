#pragma once
// The display modes the settings page offers: the driver's modes with later duplicates and
// modes of 8 bits per pixel or less left out, in the driver's order. Plain C++; the page
// feeds it from the display driver and shows it in its drop-down list.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "settings/settings.h"

// A display mode as the settings store it and the display driver lists it.
struct VideoMode {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 0;
};

inline bool operator==(const VideoMode& a, const VideoMode& b) {
  return a.width == b.width && a.height == b.height && a.bitsPerPixel == b.bitsPerPixel;
}

// One mode as the driver reports it: `fields` is the record's field mask; a record that
// fills none of bits per pixel (0x40000), width (0x80000) and height (0x100000) is skipped.
struct DriverMode {
  uint32_t fields = 0;
  VideoMode mode;
};

// Mode number `index` of the driver into *mode; false when there is no such mode.
using DriverModeSource = std::function<bool(uint32_t index, DriverMode* mode)>;

class VideoModeList {
 public:
  // Empties the list and asks the driver for modes 0, 1, 2, ... until it has no more.
  void Build(const DriverModeSource& driver);
  void Clear() { modes_.clear(); }
  // Appends unless the mode is listed already or has 8 bits per pixel or less.
  bool Add(const VideoMode& mode);

  bool empty() const { return modes_.empty(); }
  size_t size() const { return modes_.size(); }
  const VideoMode& operator[](size_t index) const { return modes_[index]; }

 private:
  std::vector<VideoMode> modes_;
};

// The list item's text: "1024x768 (16 bits)".
std::string FormatVideoMode(const VideoMode& mode);

// Item data of the placeholder that shows the stored mode before the list is built.
constexpr intptr_t kStoredModeItem = -2;

// The user's choice read back into the settings: no selection means the desktop's mode;
// a listed mode is copied into the resolution fields; the placeholder keeps them.
void ApplyVideoModeChoice(bool selected, intptr_t itemData, const VideoModeList& modes, Settings& settings);
