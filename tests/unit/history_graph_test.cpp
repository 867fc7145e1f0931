#include <gtest/gtest.h>

#include "display/history_graph.h"

namespace {

constexpr int kBottom = 20;
constexpr int kWide = 117;  // just wide enough for the 116-pixel line
constexpr ScreenDpi k96{96, 96};

std::string describe(const GraphSegment& s) {
  return "(" + std::to_string(s.x1) + "," + std::to_string(s.y1) + ")-(" + std::to_string(s.x2) + "," +
         std::to_string(s.y2) + ")";
}

TEST(HistorySegments, Geometry) {
  CpuHistory zeros{};
  GraphSegments flat = historySegments(zeros, kWide, kBottom, k96);
  EXPECT_EQ("(0,18)-(4,18)", describe(flat.front())) << "load 0 lies 2 pixels above the bottom";
  EXPECT_EQ("(112,18)-(116,18)", describe(flat.back())) << "the newest sample at x = 116";

  CpuHistory rising{};
  rising[29] = 100;
  EXPECT_EQ("(108,18)-(112,18)", describe(historySegments(rising, kWide, kBottom, k96)[27]));
  EXPECT_EQ("(112,18)-(116,-2)", describe(historySegments(rising, kWide, kBottom, k96)[28])) << "load 100 at b - 22";

  CpuHistory steps{};
  steps[0] = 4;
  steps[1] = 5;
  steps[2] = 9;
  GraphSegments stepped = historySegments(steps, kWide, kBottom, k96);
  EXPECT_EQ("(0,18)-(4,17)", describe(stepped[0])) << "4 and 5 one pixel apart";
  EXPECT_EQ("(4,17)-(8,17)", describe(stepped[1])) << "5 and 9 at the same height";

  CpuHistory steady{};
  steady.fill(37);
  for (const GraphSegment& s : historySegments(steady, kWide, kBottom, k96)) {
    EXPECT_EQ(11, s.y1) << describe(s);
    EXPECT_EQ(11, s.y2) << describe(s);
  }

  // Too narrow for the line: its newest end lies on the last column, and
  // the oldest samples are the ones cut off. At 120 and 144 DPI, in graphs
  // as wide as they come out there, steps of 5 and 6 pixels; load 0 lies 3
  // pixels up, load 100 28 and 33.
  const struct {
    int width;
    const char* oldest;
    const char* newest;
    int dpi = 96;
  } widths[] = {{99, "(-18,18)-(-14,18)", "(94,18)-(98,-2)"},
                {116, "(-1,18)-(3,18)", "(111,18)-(115,-2)"},
                {300, "(0,18)-(4,18)", "(112,18)-(116,-2)"},
                {134, "(-12,17)-(-7,17)", "(128,17)-(133,-8)", 120},
                {169, "(-6,17)-(0,17)", "(162,17)-(168,-13)", 144}};
  for (const auto& row : widths) {
    const GraphSegments placed = historySegments(rising, row.width, kBottom, {row.dpi, row.dpi});
    EXPECT_EQ(row.oldest, describe(placed.front())) << "width " << row.width << " at " << row.dpi << " DPI";
    EXPECT_EQ(row.newest, describe(placed.back())) << "width " << row.width << " at " << row.dpi << " DPI";
  }
}

}  // namespace
