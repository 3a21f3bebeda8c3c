#pragma once
// True-colour TGA files, uncompressed (type 2) or run-length encoded (type 10), 24 or 32
// bits per pixel, in either row order.
#include <cstddef>
#include <cstdint>
#include <string>

#include "resources/image.h"

// True on success with `image` filled (top row first, R G B (A)); false on failure with
// image->pixels null and, when asked for, the reason (naming the file as `name`). Never
// reads beyond `length`.
bool DecodeTga(Image* image, const uint8_t* bytes, size_t length, const char* name, std::string* reason = nullptr);
