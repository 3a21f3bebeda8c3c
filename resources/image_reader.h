#pragma once
// Images from the resource archive: the decoder is chosen by the member name's extension,
// ".jpg" or ".tga" exactly (letter case significant), counted from the first ".".
#include "resources/image.h"
#include "resources/resource_pak.h"

// Success with `image` filled; on failure image->pixels is null and the result carries the
// trace: the archive's, the decoder's, or the reader's own, with the decoder's reason after
// a JPEG's ("Can't decompress jpeg image \"a.jpg\": Not a JPEG file: ..."). The extracted
// bytes are released before returning on every path.
ImageResult ReadImage(Image* image, const char* memberName, ResourcePak& pak);
