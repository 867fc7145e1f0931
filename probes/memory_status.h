// Memory figures in the unit the user picked, the free share of physical
// memory and its summary text.
#pragma once

#include <cstdint>
#include <string>

// The platform's memory record, in bytes (the load in percent).
struct MemoryStatus {
  std::uint32_t memoryLoad = 0;
  std::uint32_t totalPhys = 0;
  std::uint32_t availPhys = 0;
  std::uint32_t totalPageFile = 0;
  std::uint32_t availPageFile = 0;
  std::uint32_t totalVirtual = 0;
  std::uint32_t availVirtual = 0;
};

// The six figures as shown, in the display unit.
struct MemoryFigures {
  std::uint32_t physicalTotal = 0;
  std::uint32_t physicalFree = 0;
  std::uint32_t pageFileTotal = 0;
  std::uint32_t pageFileFree = 0;
  std::uint32_t virtualTotal = 0;
  std::uint32_t virtualFree = 0;
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
std::uint32_t freePhysicalPercent(std::uint32_t availPhys, std::uint32_t totalPhys);

// "空きメモリ率 free / total MB", both truncated to whole MB.
std::string freeMemoryText(std::uint32_t availPhys, std::uint32_t totalPhys);

// The text every unit label shows for `unit`; empty when none is checked.
const char* unitLabel(std::int32_t unit);

// A size from the platform as the record holds it: beyond the 32-bit range
// (only a 64-bit build is told such sizes) it reads as 4,294,967,295, what
// the platform tells a 32-bit program there.
std::uint32_t clampedMemorySize(std::uint64_t bytes);

// Platform side: GlobalMemoryStatus.
MemoryStatus readMemoryStatusRecord();
