#pragma once
// Which display mode a full-screen run asks for, from the saved settings and the desktop.
#include "settings/video_mode_list.h"
#include "settings/settings.h"

// Marks CurrentVideomode 1 when the saved mode already is the desktop's. Returns true and
// fills `mode` when a switch is wanted; zero width or height take the desktop's size and
// zero depth the desktop's depth.
bool ChooseDisplayMode(Settings& settings, const VideoMode& desktop, VideoMode* mode);
