#include <gtest/gtest.h>

#include "display/cpu_history.h"

namespace {

TEST(AdvanceHistory, DropsTheOldestAndAppendsAtTheEnd) {
  CpuHistory history{};
  for (std::uint32_t i = 0; i < kCpuHistoryLength; ++i) history[i] = i + 1;
  advanceHistory(history, 77);
  for (std::size_t i = 0; i + 1 < kCpuHistoryLength; ++i) EXPECT_EQ(i + 2, history[i]) << "index " << i;
  EXPECT_EQ(77u, history[29]);
}

}  // namespace
