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

// Hands out real buffers up to a size and a number of pieces, and records
// what the release did with them.
// How the fake records a closing message: its string id.
std::wstring message(int textId) { return L"message " + std::to_wstring(textId); }

class FakeReleasePlatform : public MemoryReleasePlatform {
 public:
  std::uint32_t total = 0;
  std::uint32_t largestBlock = UINT32_MAX;
  std::size_t piecesAvailable = SIZE_MAX;
  std::vector<std::vector<unsigned char>> pieces;  // in the order taken
  std::vector<std::wstring> events;

  std::uint32_t totalPhysical() override { return total; }
  bool withLockedBlock(std::uint32_t size, const std::function<void(volatile unsigned char*)>& touch) override {
    if (size > largestBlock || pieces.size() == piecesAvailable) return false;
    pieces.emplace_back(size, 0xA5);
    touch(pieces.back().data());
    events.push_back(L"freed");
    return true;
  }
  void setProgress(std::int32_t position) override { events.push_back(std::to_wstring(position)); }
  void showMessage(int textId) override { events.push_back(message(textId)); }

  // The pieces put back together as one block, the first at the top.
  std::vector<unsigned char> block() const {
    std::vector<unsigned char> whole;
    for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) {
      whole.insert(whole.end(), piece->begin(), piece->end());
    }
    return whole;
  }
};

TEST(MemoryRelease, ZeroesTheWalkedBytesOfHalfThePhysicalMemoryAndReportsAfterFreeing) {
  FakeReleasePlatform platform;
  platform.total = 200001;
  releaseMemory(platform);

  ASSERT_EQ(1u, platform.pieces.size()) << "the whole block at once";
  std::vector<std::uint32_t> zeroed;
  const std::vector<unsigned char> block = platform.block();
  for (std::uint32_t i = 0; i < block.size(); ++i) {
    if (block[i] == 0) zeroed.push_back(i);
  }
  ASSERT_EQ(97u, zeroed.size());
  EXPECT_EQ(99999u, zeroed.back());
  EXPECT_EQ(1599u, zeroed.front());
  ASSERT_EQ(97u + 2, platform.events.size());
  EXPECT_EQ(L"0", platform.events.front());
  EXPECT_EQ(L"96", platform.events[96]);
  EXPECT_EQ(L"freed", platform.events[97]);
  EXPECT_EQ(message(kReleaseComplete), platform.events[98]);
}

constexpr std::uint32_t kMB = 1u << 20;

struct PiecesCase {
  const char* what;
  std::uint32_t total, largestBlock;
  std::size_t piecesAvailable;
  std::vector<std::uint32_t> pieces;  // sizes taken, top piece first
  std::int32_t positions;             // sent: 0 .. positions - 1
  int message;
};

// Where the address space holds no block of the whole size, the same bytes
// are written piece by piece from the top down, with the same progress.
TEST(MemoryRelease, TakesTheBlockInTheLargestPiecesToBeHadAndSaysOnlyWhatWasDone) {
  const PiecesCase cases[] = {
      {"halved twice", 20 * kMB, 3 * kMB, SIZE_MAX, {10 * kMB / 4, 10 * kMB / 4, 10 * kMB / 4, 10 * kMB / 4}, 100,
       kReleaseComplete},
      {"smallest pieces, then the rest below it", 8 * kMB + 600 * 1024, kMB, SIZE_MAX,
       {kMB, kMB, kMB, kMB, 300 * 1024}, 100, kReleaseComplete},
      {"nothing worth taking", 20 * kMB, kMB - 1, SIZE_MAX, {}, 0, kReleaseNotDone},
      {"no more pieces halfway", 20 * kMB, 3 * kMB, 2, {10 * kMB / 4, 10 * kMB / 4}, 51, kReleaseStopped},
  };
  for (const PiecesCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakeReleasePlatform platform;
    platform.total = c.total;
    platform.largestBlock = c.largestBlock;
    platform.piecesAvailable = c.piecesAvailable;
    releaseMemory(platform);

    std::vector<std::uint32_t> taken;
    for (const auto& piece : platform.pieces) taken.push_back(static_cast<std::uint32_t>(piece.size()));
    EXPECT_EQ(c.pieces, taken);

    // Every byte the whole block's walk zeroes down to the pieces' bottom,
    // and no other.
    const std::vector<unsigned char> block = platform.block();
    const std::uint32_t blockSize = releaseBlockSize(c.total);
    const std::uint32_t bottom = blockSize - static_cast<std::uint32_t>(block.size());
    std::vector<unsigned char> expected(block.size(), 0xA5);
    auto zero = [&](std::uint32_t offset) {
      if (offset >= bottom) expected[offset - bottom] = 0;
    };
    walkReleaseBlock(blockSize, zero, [](std::int32_t) {});
    EXPECT_TRUE(expected == block) << "bytes written differ from the whole block's";

    std::vector<std::wstring> events;
    for (const std::wstring& event : platform.events) {
      if (event != L"freed") events.push_back(event);
    }
    std::vector<std::wstring> expectedEvents;
    for (std::int32_t p = 0; p < c.positions; ++p) expectedEvents.push_back(std::to_wstring(p));
    expectedEvents.push_back(message(c.message));
    EXPECT_EQ(expectedEvents, events);
  }
}

}  // namespace
