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
  // A current PC: 25 GB, a 1 TiB page file, a 64-bit program's address space.
  const MemoryStatus large{2, 25276178432ull, 24725831680ull, 1ull << 40, (1ull << 40) - 1, 140737488224256ull,
                           4294967296ull};
  const struct {
    const MemoryStatus status;
    std::int32_t unit;
    MemoryFigures expected;
  } rows[] = {
      {sampleStatus(), 0, {268435456, 1048575, 4294443007u, 2147483648u, 2147352576u, 1023}},
      {sampleStatus(), 1, {262144, 1023, 4193791, 2097152, 2097024, 0}},
      {sampleStatus(), 2, {256, 0, 4095, 2048, 2047, 0}},  // truncated, not rounded
      {large, 0, {25276178432ull, 24725831680ull, 1099511627776ull, 1099511627775ull, 140737488224256ull, 4294967296ull}},
      {large, 1, {24683768, 24146320, 1073741824, 1073741823, 137438953344ull, 4194304}},
      {large, 2, {24105, 23580, 1048576, 1048575, 134217727, 4096}},
  };
  for (const auto& row : rows) {
    MemoryFigures figures;
    EXPECT_TRUE(convertMemoryFigures(row.status, row.unit, figures)) << "unit " << row.unit;
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
    std::uint64_t avail;
    std::uint64_t total;
    std::uint32_t percent;
  } rows[] = {
      {"29/100 is 28.999..., not 29", 29, 100, 28},
      {"57/100 is 56.999...", 57, 100, 56},
      {"100 MB of 256 MB: 39.0625", 100u << 20, 256u << 20, 39},
      {"2 of 3: 66.67 truncated", 2, 3, 66},
      {"nothing free", 0, 256u << 20, 0},
      {"all free", 256u << 20, 256u << 20, 100},
      {"figures above 2^31 are unsigned", 3u << 30, 4294967295u, 75},
      {"25 GB, beyond 32 bits", 24725831680ull, 25276178432ull, 97},
      {"no total reads as none free", 5, 0, 0},
      {"more free than total stays at 100", 300, 100, 100},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.percent, freePhysicalPercent(row.avail, row.total)) << row.note;
  }
}

TEST(FreeMemoryText, FreeThenTotalInWholeMegabytes) {
  const std::wstring kSummary = L"空きメモリ率 %1 / %2 MB";
  EXPECT_EQ(L"空きメモリ率 100 / 256 MB", freeMemoryText(kSummary, 100u << 20, 256u << 20));
  EXPECT_EQ(L"空きメモリ率 0 / 1 MB", freeMemoryText(kSummary, 1048575, 1048576));
  EXPECT_EQ(L"空きメモリ率 4095 / 4095 MB", freeMemoryText(kSummary, 4294443007u, 4294967295u));
  EXPECT_EQ(L"空きメモリ率 23580 / 24105 MB", freeMemoryText(kSummary, 24725831680ull, 25276178432ull));
  EXPECT_EQ(L"空きメモリ率 1048575 / 1048576 MB", freeMemoryText(kSummary, (1ull << 40) - 1, 1ull << 40));
}

TEST(UnitLabel, OneTextPerRadioIndex) {
  const struct {
    std::int32_t unit;
    const wchar_t* label;
  } rows[] = {{-1, L""}, {0, L"Byte"}, {1, L"KB"}, {2, L"MB"}, {3, L""}};
  for (const auto& row : rows) EXPECT_STREQ(row.label, unitLabel(row.unit)) << "unit " << row.unit;
}

TEST(ClampedMemorySize, SizesBeyond32BitsReadAsTheLargest) {
  EXPECT_EQ(0u, clampedMemorySize(0));
  EXPECT_EQ(4294967295u, clampedMemorySize(4294967295u));
  EXPECT_EQ(4294967295u, clampedMemorySize(4294967296u));
  EXPECT_EQ(4294967295u, clampedMemorySize(24ull << 30));  // 24 GB, not 0 as truncated
}

BOOL WINAPI failingExtendedCall(LPMEMORYSTATUSEX) { return FALSE; }

BOOL WINAPI twentyFiveGigabytes(LPMEMORYSTATUSEX record) {
  record->ullTotalPhys = 25276178432ull;
  record->ullAvailPhys = 24725831680ull;
  record->ullTotalVirtual = 4;
  return TRUE;
}

// The extended call's figures as they are; without that call (or when it
// fails) the classic record's, clamped as the platform clamps them.
TEST(ReadMemoryStatusRecord, TheExtendedCallWhereThereIsOneElseTheClassicRecord) {
  const MemoryStatus wide = readMemoryStatusRecord(twentyFiveGigabytes);
  EXPECT_EQ(25276178432ull, wide.totalPhys);
  EXPECT_EQ(24725831680ull, wide.availPhys);
  EXPECT_EQ(4u, wide.totalVirtual);

  MEMORYSTATUS classic{};
  GlobalMemoryStatus(&classic);
  for (GlobalMemoryStatusExFn missing : {GlobalMemoryStatusExFn{}, &failingExtendedCall}) {
    const MemoryStatus status = readMemoryStatusRecord(missing);
    EXPECT_EQ(classic.dwTotalPhys, status.totalPhys);
    EXPECT_EQ(classic.dwTotalPageFile, status.totalPageFile);
    EXPECT_EQ(classic.dwTotalVirtual, status.totalVirtual);
  }
  EXPECT_EQ(clampedMemorySize(classic.dwTotalPhys), classicTotalPhysical()) << "what the release sizes by";
}

}  // namespace
