#include <gtest/gtest.h>

#include "display/history_graph.h"

namespace {

constexpr int kBottom = 20;

std::string describe(const GraphSegment& s) {
  return "(" + std::to_string(s.x1) + "," + std::to_string(s.y1) + ")-(" + std::to_string(s.x2) + "," +
         std::to_string(s.y2) + ")";
}

TEST(HistorySegments, Geometry) {
  CpuHistory zeros{};
  GraphSegments flat = historySegments(zeros, kBottom);
  EXPECT_EQ("(0,18)-(4,18)", describe(flat.front())) << "load 0 lies 2 pixels above the bottom";
  EXPECT_EQ("(112,18)-(116,18)", describe(flat.back())) << "the newest sample at x = 116";

  CpuHistory rising{};
  rising[29] = 100;
  EXPECT_EQ("(108,18)-(112,18)", describe(historySegments(rising, kBottom)[27]));
  EXPECT_EQ("(112,18)-(116,-2)", describe(historySegments(rising, kBottom)[28])) << "load 100 at b - 22";

  CpuHistory steps{};
  steps[0] = 4;
  steps[1] = 5;
  steps[2] = 9;
  GraphSegments stepped = historySegments(steps, kBottom);
  EXPECT_EQ("(0,18)-(4,17)", describe(stepped[0])) << "4 and 5 one pixel apart";
  EXPECT_EQ("(4,17)-(8,17)", describe(stepped[1])) << "5 and 9 at the same height";

  CpuHistory steady{};
  steady.fill(37);
  for (const GraphSegment& s : historySegments(steady, kBottom)) {
    EXPECT_EQ(11, s.y1) << describe(s);
    EXPECT_EQ(11, s.y2) << describe(s);
  }
}

}  // namespace
