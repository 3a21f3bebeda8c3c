#pragma once
// Which display mode a full-screen run asks for, from the saved settings and the desktop.
#include <optional>

#include "settings/settings.h"
#include "settings/video_mode_list.h"

// The saved mode is the desktop's own.
bool IsDesktopMode(const Settings& settings, const VideoMode& desktop);

// The mode to switch to, or none when the run keeps the desktop's: CurrentVideomode 1, or
// a saved mode that already is the desktop's. Zero width or height take the desktop's size
// and zero depth the desktop's depth.
std::optional<VideoMode> ChooseDisplayMode(const Settings& settings, const VideoMode& desktop);
