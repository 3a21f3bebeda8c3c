#pragma once
// True-colour TGA files, uncompressed (type 2) or run-length encoded (type 10), 24 or 32
// bits per pixel, in either row order.
#include <cstddef>
#include <cstdint>

#include "resources/image.h"

// 1 on success with `image` filled (top row first, R G B (A)); 0 on failure with
// image->pixels null. `name` is used only in trace messages. Never reads beyond `length`.
int DecodeTga(Image* image, const uint8_t* bytes, size_t length, const char* name);
