#pragma once
// The screenshot of a catalogue product as a device bitmap for a picture control.
#include <windows.h>

#include <string>

// Reads the JPEG file at `path` and makes a device bitmap of width x height pixels on the
// screen's device context: the picture scaled to fit without distortion, centred, the rest
// black. Null when the file is missing, isn't a screenshot that passes its check
// (catalogue/product_pictures.h), memory runs out, or GDI refuses.
// The caller owns the bitmap (DeleteObject).
HBITMAP LoadScreenshotBitmap(const std::string& path, int width, int height);
