#include "settings/video_mode_chooser.h"

#include <string>
#include <utility>

VideoModeChooser::VideoModeChooser(DriverModeSource driver) : driver_(std::move(driver)) {}

DriverModeSource VideoModeChooser::DisplayDriverModes() {
  return [](uint32_t index, DriverMode* reported) {
    DEVMODEA mode{};
    mode.dmSize = 148;  // the classic DEVMODE without the later display fields
    if (!EnumDisplaySettingsA(nullptr, index, &mode)) return false;
    reported->fields = mode.dmFields;
    reported->mode = VideoMode{static_cast<int32_t>(mode.dmPelsWidth), static_cast<int32_t>(mode.dmPelsHeight),
                               static_cast<int32_t>(mode.dmBitsPerPel)};
    return true;
  };
}

void VideoModeChooser::Build() {
  modes_.Build(driver_);
  SendMessageA(list_, CB_RESETCONTENT, 0, 0);
  for (size_t i = 0; i < modes_.size(); ++i) {
    const std::string text = FormatVideoMode(modes_[i]);
    const LRESULT item = SendMessageA(list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (item >= 0) SendMessageA(list_, CB_SETITEMDATA, static_cast<WPARAM>(item), static_cast<LPARAM>(i));
  }
}

void VideoModeChooser::ShowStored(const Settings& settings) {
  if (SendMessageA(list_, CB_GETCOUNT, 0, 0) == 1) SendMessageA(list_, CB_RESETCONTENT, 0, 0);
  if (SendMessageA(list_, CB_GETCOUNT, 0, 0) == 0) {
    const std::string text =
        FormatVideoMode(VideoMode{settings.XResolution, settings.YResolution, settings.ColorDepth});
    const LRESULT item = SendMessageA(list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(list_, CB_SETITEMDATA, static_cast<WPARAM>(item), static_cast<LPARAM>(kStoredModeItem));
    SendMessageA(list_, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
  }
  EnableWindow(list_, settings.CurrentVideomode == 0);
}

void VideoModeChooser::RefreshOnFocus() {
  std::string chosen;
  const LRESULT selected = SendMessageA(list_, CB_GETCURSEL, 0, 0);
  if (selected != CB_ERR) {
    const LRESULT length = SendMessageA(list_, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length > 0) {
      chosen.assign(static_cast<size_t>(length) + 1, '\0');
      SendMessageA(list_, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&chosen[0]));
      chosen.resize(static_cast<size_t>(length));
    }
  }
  Build();
  if (chosen.empty()) return;
  // Byte for byte: CB_FINDSTRINGEXACT ignores letter case.
  for (size_t i = 0; i < modes_.size(); ++i) {
    if (FormatVideoMode(modes_[i]) == chosen) {
      SendMessageA(list_, CB_SETCURSEL, i, 0);
      return;
    }
  }
}

void VideoModeChooser::RefreshOnDropDown() {
  if (modes_.empty()) Build();
}

void VideoModeChooser::ReadChoice(Settings& settings) const {
  const LRESULT selected = SendMessageA(list_, CB_GETCURSEL, 0, 0);
  const LRESULT data = selected == CB_ERR ? 0 : SendMessageA(list_, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
  ApplyVideoModeChoice(selected != CB_ERR, static_cast<intptr_t>(data), modes_, settings);
}
