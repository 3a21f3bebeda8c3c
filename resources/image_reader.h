#pragma once
// Images from the resource archive: the decoder is chosen by the member name's extension,
// ".jpg" or ".tga" exactly (letter case significant), counted from the first ".".
#include <string>

#include "resources/image.h"
#include "resources/resource_pak.h"

// True on success with `image` filled; false on failure with image->pixels null and, when
// asked for, the reason. The extracted bytes are released before returning on every path.
bool ReadImage(Image* image, const char* memberName, ResourcePak& pak, std::string* reason = nullptr);
