#include "shell/video_mode.h"

bool IsDesktopMode(const Settings& settings, const VideoMode& desktop) {
  return desktop.width == settings.XResolution && desktop.height == settings.YResolution &&
         desktop.bitsPerPixel == settings.ColorDepth;
}

std::optional<VideoMode> ChooseDisplayMode(const Settings& settings, const VideoMode& desktop) {
  if (settings.CurrentVideomode != 0 || IsDesktopMode(settings, desktop)) return std::nullopt;

  VideoMode mode;
  mode.width = settings.XResolution;
  mode.height = settings.YResolution;
  if (mode.width == 0 || mode.height == 0) {
    mode.width = desktop.width;
    mode.height = desktop.height;
  }
  mode.bitsPerPixel = settings.ColorDepth != 0 ? settings.ColorDepth : desktop.bitsPerPixel;
  return mode;
}
