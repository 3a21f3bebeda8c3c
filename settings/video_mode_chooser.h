#pragma once
// The video mode drop-down list of the settings page: a placeholder with the stored mode
// until the user works with the list, then every mode of the display driver, the choice
// kept by its text across rebuilds.
#include <windows.h>

#include "settings/settings.h"
#include "settings/video_mode_list.h"

class VideoModeChooser {
 public:
  // driver: where the modes come from; by default the primary display's driver.
  explicit VideoModeChooser(DriverModeSource driver = DisplayDriverModes());

  void Attach(HWND list) { list_ = list; }
  void Clear() { modes_.Clear(); }
  // A fresh enumeration into the list control; nothing selected afterwards.
  void Build();
  // The stored mode as the one placeholder item, unless the full list is already built.
  void ShowStored(const Settings& settings);
  // The list got the focus: rebuilt, the previous choice selected again by its text.
  void RefreshOnFocus();
  // The list is about to open: built once.
  void RefreshOnDropDown();
  // The choice into the settings (CurrentVideomode already holds the check box's state).
  void ReadChoice(Settings& settings) const;

  const VideoModeList& modes() const { return modes_; }
  static DriverModeSource DisplayDriverModes();

 private:
  HWND list_ = nullptr;
  DriverModeSource driver_;
  VideoModeList modes_;
};
