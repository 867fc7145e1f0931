#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/memory_release.h"

namespace {

struct WalkCase {
  std::uint32_t totalPhysical;
  std::uint32_t blockSize;
  std::uint32_t writes;
  std::uint32_t firstOffset, lastOffset;  // unused when there are no writes
  std::uint32_t remaining;
  std::int32_t positions;                 // sent: 0 .. positions - 1
  std::uint32_t passOfSecond, passOfLast;  // pass (1-based) after which they were sent
};

const WalkCase kWalkCases[] = {
    {268435456, 134217728, 130944, 134217727, 1152, 128, 100, 1310, 129635},
    {2147483647, 1073741823, 1047552, 1073741822, 2047, 1023, 100, 10476, 1037078},  // odd total
    {200000, 100000, 97, 99999, 1599, 575, 97, 2, 97},  // step below the stride: positions lag
    {207050, 103525, 101, 103524, 1024, 0, 100, 2, 100},  // ends at 0 yet never sends 100
    {2051, 1025, 1, 1024, 1024, 0, 1, 0, 1},            // odd total; one write at the lowest offset
    {2049, 1024, 0, 0, 0, 1024, 0, 0, 0},               // nothing to write, nothing to show
};

TEST(MemoryReleaseWalk, WritesEvery1025thByteTopDownAndSendsEachPositionOnceInOrder) {
  for (const WalkCase& c : kWalkCases) {
    SCOPED_TRACE(testing::Message() << "total physical " << c.totalPhysical);
    const std::uint32_t blockSize = releaseBlockSize(c.totalPhysical);
    EXPECT_EQ(c.blockSize, blockSize);

    std::uint32_t writes = 0, first = 0, last = 0, strideBreaks = 0;
    std::vector<std::int32_t> positions;
    std::vector<std::uint32_t> passes;
    const std::uint32_t remaining = walkReleaseBlock(
        blockSize,
        [&](std::uint32_t offset) {
          if (writes == 0) {
            first = offset;
          } else if (offset != last - kReleaseStride) {
            ++strideBreaks;
          }
          last = offset;
          ++writes;
        },
        [&](std::int32_t position) {
          positions.push_back(position);
          passes.push_back(writes);
        });

    EXPECT_EQ(c.writes, writes);
    EXPECT_EQ(0u, strideBreaks);
    if (c.writes > 0) {
      EXPECT_EQ(c.firstOffset, first);
      EXPECT_EQ(c.lastOffset, last);
    }
    EXPECT_EQ(c.remaining, remaining);
    std::vector<std::int32_t> expected;
    for (std::int32_t p = 0; p < c.positions; ++p) expected.push_back(p);
    EXPECT_EQ(expected, positions);
    if (!passes.empty()) {
      EXPECT_EQ(1u, passes.front()) << "position 0 comes with the first write";
      EXPECT_EQ(c.passOfLast, passes.back());
    }
    if (passes.size() > 1) {
      EXPECT_EQ(c.passOfSecond, passes[1]);
    }
    for (std::size_t i = 1; i < passes.size(); ++i) EXPECT_LT(passes[i - 1], passes[i]) << "two in one pass";
  }
}

// Hands out a real buffer, or none, and records what the release did.
class FakeReleasePlatform : public MemoryReleasePlatform {
 public:
  std::uint32_t total = 0;
  bool blockAvailable = true;
  std::uint32_t requested = 0;
  std::vector<unsigned char> block;
  std::vector<std::string> events;

  std::uint32_t totalPhysical() override { return total; }
  bool withLockedBlock(std::uint32_t size, const std::function<void(volatile unsigned char*)>& touch) override {
    requested = size;
    if (!blockAvailable) return false;
    block.assign(size, 0xA5);
    touch(block.data());
    events.push_back("freed");
    return true;
  }
  void setProgress(std::int32_t position) override { events.push_back(std::to_string(position)); }
  void showMessage(const std::string& text) override { events.push_back(text); }
};

TEST(MemoryRelease, ZeroesTheWalkedBytesOfHalfThePhysicalMemoryAndReportsAfterFreeing) {
  FakeReleasePlatform platform;
  platform.total = 200001;
  releaseMemory(platform);

  EXPECT_EQ(100000u, platform.requested);
  std::vector<std::uint32_t> zeroed;
  for (std::uint32_t i = 0; i < platform.block.size(); ++i) {
    if (platform.block[i] == 0) zeroed.push_back(i);
  }
  ASSERT_EQ(97u, zeroed.size());
  EXPECT_EQ(99999u, zeroed.back());
  EXPECT_EQ(1599u, zeroed.front());
  ASSERT_EQ(97u + 2, platform.events.size());
  EXPECT_EQ("0", platform.events.front());
  EXPECT_EQ("96", platform.events[96]);
  EXPECT_EQ("freed", platform.events[97]);
  EXPECT_EQ(kReleaseComplete, platform.events[98]);
}

TEST(MemoryRelease, WithoutABlockNothingIsShownButTheFailure) {
  FakeReleasePlatform platform;
  platform.total = 268435456;
  platform.blockAvailable = false;
  releaseMemory(platform);

  EXPECT_EQ(134217728u, platform.requested);
  EXPECT_EQ(std::vector<std::string>{kReleaseNotDone}, platform.events) << "no progress, no completion";
}

}  // namespace
