#pragma once
// Where a picture laid over the scene can change it. Most of every flare picture is black
// (the limb mask: white), and drawing a square there costs a texture fetch and a blend per
// pixel for nothing; a square that fills the screen at 1024x768 is most of a frame's fill
// with software OpenGL. The cover is a ring of sectors around the picture's centre, each
// from the nearest to the farthest texel of the sector that can change a pixel, widened by
// the texel that linear filtering reaches beyond it, and clipped to the picture's square;
// or, where that is cheaper to draw, one polygon around such a ring. Drawing only the cover
// leaves the picture as it was.
//
// A texel can change a pixel when it lies more than one level from the value that leaves
// the pixel alone: 0 for a picture that adds light, 255 for one that multiplies. JPEG leaves
// single-level noise over the pictures' flat areas; leaving it out changes a pixel by at most
// one level, which is rounding.
#include <vector>

#include "resources/image.h"

enum class PictureBlend { Adds, Multiplies };

struct CoverPoint {
  double s, t;  // texture coordinates, 0..1 across the picture; t = 0 is its top row
};

struct PictureCover {
  bool whole = true;  // draw the whole square: no cover is cheaper to draw
  // Triangles, three corners each, counter-clockwise with s to the right and t up, that
  // together hold every place where the picture can change a pixel. Triangles that meet
  // share both corners of their common edge exactly, so no pixel on it is drawn twice or
  // missed.
  std::vector<CoverPoint> triangles;
  double area = 1.0;  // of the triangles, as a fraction of the square
};

// The cover of a decoded picture (24 or 32 bits per pixel) that costs least to draw, the
// whole square included. A picture that can change no pixel at all gets no triangles and
// is not whole: there is nothing to draw.
PictureCover CoverOf(const Image& image, PictureBlend blend);
