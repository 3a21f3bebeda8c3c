#pragma once
// True-colour TGA files, uncompressed (type 2) or run-length encoded (type 10), 24 or 32
// bits per pixel, in either row order.
#include <cstddef>
#include <cstdint>

#include "resources/image.h"

// Success with `image` filled (top row first, R G B (A)); on failure image->pixels is null
// and the result says why, naming the file as `name`. Never reads beyond `length`.
ImageResult DecodeTga(Image* image, const uint8_t* bytes, size_t length, const char* name);
