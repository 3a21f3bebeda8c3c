// Which monitors a full-screen run blacks out, from lists of monitor rectangles.
#include "shell/monitor_layout.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

std::ostream& operator<<(std::ostream& out, const ScreenRect& r) {
  return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

namespace {

struct LayoutCase {
  std::string name;
  std::vector<ScreenRect> monitors;
  ScreenRect primary;
  std::vector<ScreenRect> black;
};

class MonitorLayoutTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(MonitorLayoutTest, BlacksOutEveryMonitorButThePrimary) {
  const LayoutCase& c = GetParam();
  EXPECT_EQ(OtherMonitorRects(c.monitors, c.primary), c.black) << c.name;
}

const ScreenRect kPrimary{0, 0, 1920, 1080};

INSTANTIATE_TEST_SUITE_P(
    Layouts, MonitorLayoutTest,
    testing::Values(
        LayoutCase{"one monitor", {kPrimary}, kPrimary, {}},
        LayoutCase{"side by side, second to the right",
                   {kPrimary, {1920, 0, 3200, 1024}}, kPrimary, {{1920, 0, 3200, 1024}}},
        LayoutCase{"side by side, second to the left (negative x), listed first",
                   {{-1280, 56, 0, 1080}, kPrimary}, kPrimary, {{-1280, 56, 0, 1080}}},
        LayoutCase{"stacked, second above", {kPrimary, {0, -900, 1600, 0}}, kPrimary, {{0, -900, 1600, 0}}},
        LayoutCase{"primary not at the origin, three monitors in a row",
                   {{0, 0, 1024, 768}, {1024, 0, 2048, 768}, {2048, 0, 3072, 768}}, {1024, 0, 2048, 768},
                   {{0, 0, 1024, 768}, {2048, 0, 3072, 768}}},
        LayoutCase{"a monitor inside the primary's rectangle still gets its window",
                   {{0, 0, 800, 600}, {0, 0, 640, 480}}, {0, 0, 800, 600}, {{0, 0, 640, 480}}},
        LayoutCase{"mirror of the primary, twice the same secondary, an empty rectangle",
                   {kPrimary, kPrimary, {1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}, {5000, 0, 5000, 900}},
                   kPrimary, {{1920, 0, 3840, 1080}}}));

}  // namespace
