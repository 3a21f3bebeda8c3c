#pragma once
// The monitors beside the primary one, on which the run's window does not lie. Each gets a
// window of its own over its whole rectangle: black, or the planet's view when the user wants
// it on every monitor. Plain C++, so it is tested without Windows; rectangles are in
// virtual-screen pixels, right and bottom exclusive.
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

// The rectangles of the other monitors, in the order of `monitors`: each monitor but the primary,
// once; empty rectangles and copies of the primary's (a mirrored display) are left out.
std::vector<ScreenRect> OtherMonitorRects(const std::vector<ScreenRect>& monitors, const ScreenRect& primary);
