#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>

#include "probes/memory_status.h"

// Field-by-field comparison with all six figures printed on failure.
bool operator==(const MemoryFigures& a, const MemoryFigures& b) {
  return a.physicalTotal == b.physicalTotal && a.physicalFree == b.physicalFree &&
         a.pageFileTotal == b.pageFileTotal && a.pageFileFree == b.pageFileFree &&
         a.virtualTotal == b.virtualTotal && a.virtualFree == b.virtualFree;
}
void PrintTo(const MemoryFigures& f, std::ostream* os) {
  *os << "{physical " << f.physicalTotal << "/" << f.physicalFree << ", page file "
      << f.pageFileTotal << "/" << f.pageFileFree << ", virtual " << f.virtualTotal << "/"
      << f.virtualFree << "}";
}

namespace {

// Six different byte figures, so a field sent to the wrong member shows.
MemoryStatus sampleStatus() {
  MemoryStatus status;
  status.memoryLoad = 61;
  status.totalPhys = 268435456;      // 256 MB
  status.availPhys = 1048575;        // one byte short of 1 MB
  status.totalPageFile = 4294443007u;  // above 2^31
  status.availPageFile = 2147483648u;  // exactly 2^31
  status.totalVirtual = 2147352576u;
  status.availVirtual = 1023;
  return status;
}

TEST(ConvertMemoryFigures, ShiftsEachFigureIntoTheUnitAsUnsigned) {
  const struct {
    std::int32_t unit;
    MemoryFigures expected;
  } rows[] = {
      {0, {268435456, 1048575, 4294443007u, 2147483648u, 2147352576u, 1023}},
      {1, {262144, 1023, 4193791, 2097152, 2097024, 0}},
      {2, {256, 0, 4095, 2048, 2047, 0}},  // truncated, not rounded
  };
  for (const auto& row : rows) {
    MemoryFigures figures;
    EXPECT_TRUE(convertMemoryFigures(sampleStatus(), row.unit, figures)) << "unit " << row.unit;
    EXPECT_EQ(row.expected, figures) << "unit " << row.unit;
  }
}

TEST(ConvertMemoryFigures, NoUnitCheckedLeavesTheFiguresAsTheyWere) {
  const MemoryFigures before{1, 2, 3, 4, 5, 6};
  for (std::int32_t unit : {-1, 3, 1024}) {
    MemoryFigures figures = before;
    EXPECT_FALSE(convertMemoryFigures(sampleStatus(), unit, figures)) << "unit " << unit;
    EXPECT_EQ(before, figures) << "unit " << unit;
  }
}

TEST(FreePhysicalPercent, DividesBeforeMultiplyingAndTruncates) {
  const struct {
    const char* note;
    std::uint32_t avail;
    std::uint32_t total;
    std::uint32_t percent;
  } rows[] = {
      {"29/100 is 28.999..., not 29", 29, 100, 28},
      {"57/100 is 56.999...", 57, 100, 56},
      {"100 MB of 256 MB: 39.0625", 100u << 20, 256u << 20, 39},
      {"2 of 3: 66.67 truncated", 2, 3, 66},
      {"nothing free", 0, 256u << 20, 0},
      {"all free", 256u << 20, 256u << 20, 100},
      {"figures above 2^31 are unsigned", 3u << 30, 4294967295u, 75},
      {"no total reads as none free", 5, 0, 0},
      {"more free than total stays at 100", 300, 100, 100},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.percent, freePhysicalPercent(row.avail, row.total)) << row.note;
  }
}

TEST(FreeMemoryText, FreeThenTotalInWholeMegabytes) {
  EXPECT_EQ("空きメモリ率 100 / 256 MB", freeMemoryText(100u << 20, 256u << 20));
  EXPECT_EQ("空きメモリ率 0 / 1 MB", freeMemoryText(1048575, 1048576));
  EXPECT_EQ("空きメモリ率 4095 / 4095 MB", freeMemoryText(4294443007u, 4294967295u));
}

TEST(UnitLabel, OneTextPerRadioIndex) {
  const struct {
    std::int32_t unit;
    const char* label;
  } rows[] = {{-1, ""}, {0, "Byte"}, {1, "KB"}, {2, "MB"}, {3, ""}};
  for (const auto& row : rows) EXPECT_STREQ(row.label, unitLabel(row.unit)) << "unit " << row.unit;
}

TEST(ClampedMemorySize, SizesBeyond32BitsReadAsTheLargest) {
  EXPECT_EQ(0u, clampedMemorySize(0));
  EXPECT_EQ(4294967295u, clampedMemorySize(4294967295u));
  EXPECT_EQ(4294967295u, clampedMemorySize(4294967296u));
  EXPECT_EQ(4294967295u, clampedMemorySize(24ull << 30));  // 24 GB, not 0 as truncated
}

// What a record size must read as: unchanged within 32 bits, else the largest.
std::uint32_t expectedSize(std::uint64_t bytes) {
  return bytes > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(bytes);
}

// The reader hands over the platform's figures; the totals do not move
// between two calls.
TEST(ReadMemoryStatusRecord, MatchesThePlatformRecord) {
  MEMORYSTATUS record{};
  GlobalMemoryStatus(&record);
  const MemoryStatus status = readMemoryStatusRecord();
  EXPECT_EQ(expectedSize(record.dwTotalPhys), status.totalPhys);
  EXPECT_EQ(expectedSize(record.dwTotalVirtual), status.totalVirtual);
  EXPECT_EQ(expectedSize(record.dwTotalPageFile), status.totalPageFile);
  EXPECT_GT(status.totalPhys, 0u);
  EXPECT_LE(status.availPhys, status.totalPhys);
  EXPECT_LE(status.memoryLoad, 100u);
}

}  // namespace
