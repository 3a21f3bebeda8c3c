#pragma once
// A display mode as the settings store it and the display driver lists it.
struct DisplayMode {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
};
