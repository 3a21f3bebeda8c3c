#pragma once
// Images from the resource archive: the decoder is chosen by the member name's extension,
// ".jpg" or ".tga" exactly (letter case significant), counted from the first ".".
#include "resources/image.h"
#include "resources/resource_pak.h"

// 1 on success with `image` filled; 0 on failure with image->pixels null. The extracted
// bytes are released before returning on every path.
int ReadImage(Image* image, const char* memberName, ResourcePak& pak);
