#include "shell/video_mode.h"

bool ChooseDisplayMode(Settings& settings, const VideoMode& desktop, VideoMode* mode) {
  if (desktop.width == settings.XResolution && desktop.height == settings.YResolution &&
      desktop.bitsPerPixel == settings.ColorDepth)
    settings.CurrentVideomode = 1;
  if (settings.CurrentVideomode != 0) return false;

  mode->width = settings.XResolution;
  mode->height = settings.YResolution;
  if (mode->width == 0 || mode->height == 0) {
    mode->width = desktop.width;
    mode->height = desktop.height;
  }
  mode->bitsPerPixel = settings.ColorDepth != 0 ? settings.ColorDepth : desktop.bitsPerPixel;
  return true;
}
