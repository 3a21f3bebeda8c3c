#pragma once
// A picture's cover (scene/picture_cover.h) as a display list over the unit square, for the
// squares that lay a picture over the scene: the flare quads and the billboards around the
// planet. They place the unit square with their own matrix and call the list.
#include "scene/gl_objects.h"
#include "scene/picture_cover.h"

// The triangles with vertex (s, t, 0) and texture coordinate (s, t). None for a whole cover,
// which is drawn as the square itself, or when no list name is left; an empty cover
// compiles an empty list.
GlList CompileCoverList(const PictureCover& cover);
