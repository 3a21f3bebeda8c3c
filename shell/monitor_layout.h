#pragma once
// Which monitors a full-screen run blacks out. The run draws on the primary monitor; every
// other monitor gets a black window over its whole rectangle. Plain C++, so it is tested
// without Windows; rectangles are in virtual-screen pixels, right and bottom exclusive.
#include <vector>

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  bool operator==(const ScreenRect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

// The rectangles to black out, in the order of `monitors`: each monitor but the primary,
// once; empty rectangles and copies of the primary's (a mirrored display) are left out.
std::vector<ScreenRect> BlackoutRects(const std::vector<ScreenRect>& monitors, const ScreenRect& primary);
