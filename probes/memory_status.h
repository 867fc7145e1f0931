// Memory figures in the unit the user picked, the free share of physical
// memory and its summary text.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

// The platform's memory record, in bytes (the load in percent). Sizes are
// 64 bits wide all the way to the screen: today's machines have more memory
// than 32 bits can count.
struct MemoryStatus {
  std::uint32_t memoryLoad = 0;
  std::uint64_t totalPhys = 0;
  std::uint64_t availPhys = 0;
  std::uint64_t totalPageFile = 0;
  std::uint64_t availPageFile = 0;
  std::uint64_t totalVirtual = 0;
  std::uint64_t availVirtual = 0;
};

// The six figures as shown, in the display unit.
struct MemoryFigures {
  std::uint64_t physicalTotal = 0;
  std::uint64_t physicalFree = 0;
  std::uint64_t pageFileTotal = 0;
  std::uint64_t pageFileFree = 0;
  std::uint64_t virtualTotal = 0;
  std::uint64_t virtualFree = 0;

  // As the status window lists them: physical, page file, virtual memory,
  // each total before free.
  std::array<std::uint64_t, 6> inOrder() const {
    return {physicalTotal, physicalFree, pageFileTotal, pageFileFree, virtualTotal, virtualFree};
  }
};

// Size units of the radio group: 0 Byte, 1 KB, 2 MB, -1 none checked.
constexpr std::int32_t kUnitByte = 0;
constexpr std::int32_t kUnitKilobyte = 1;
constexpr std::int32_t kUnitMegabyte = 2;

// Converts the record's figures into `unit`; for a unit outside 0..2 the
// figures are left as they were and false is returned.
bool convertMemoryFigures(const MemoryStatus& status, std::int32_t unit, MemoryFigures& figures);

// Free physical memory in whole percent, dividing before multiplying;
// 0 when the total is 0, never above 100.
std::uint32_t freePhysicalPercent(std::uint64_t availPhys, std::uint64_t totalPhys);

// The summary pattern of the interface's language with %1 the free and %2
// the total physical memory, both truncated to whole MB.
std::wstring freeMemoryText(const std::wstring& pattern, std::uint64_t availPhys, std::uint64_t totalPhys);

// The text every unit label shows for `unit`; empty when none is checked.
const wchar_t* unitLabel(std::int32_t unit);

// A size as the classic 32-bit record holds it: beyond the 32-bit range it
// reads as 4,294,967,295, what the platform tells a 32-bit program there.
std::uint32_t clampedMemorySize(std::uint64_t bytes);

// The platform's extended memory call, where it has one (Windows 2000 on).
using GlobalMemoryStatusExFn = BOOL(WINAPI*)(LPMEMORYSTATUSEX);
GlobalMemoryStatusExFn globalMemoryStatusExEntry();

// Platform side: the extended call's record when `extended` is given and
// succeeds, else the classic GlobalMemoryStatus, which clamps every size of
// a 32-bit program to 2 GB (4 GB when large-address aware).
MemoryStatus readMemoryStatusRecord(GlobalMemoryStatusExFn extended);
MemoryStatus readMemoryStatusRecord();

// Physical memory as the classic record gives it, clamped to 32 bits: the
// memory release keeps sizing its block by this figure.
std::uint32_t classicTotalPhysical();
