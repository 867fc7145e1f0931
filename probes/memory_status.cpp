#include "probes/memory_status.h"

#include <windows.h>

#include <cstdio>

namespace {

std::uint32_t inUnit(std::uint32_t bytes, std::int32_t unit) {
  switch (unit) {
    case kUnitKilobyte:
      return bytes >> 10;
    case kUnitMegabyte:
      return bytes >> 20;
    default:
      return bytes;
  }
}

}  // namespace

bool convertMemoryFigures(const MemoryStatus& status, std::int32_t unit, MemoryFigures& figures) {
  if (unit != kUnitByte && unit != kUnitKilobyte && unit != kUnitMegabyte) return false;
  figures.physicalTotal = inUnit(status.totalPhys, unit);
  figures.physicalFree = inUnit(status.availPhys, unit);
  figures.pageFileTotal = inUnit(status.totalPageFile, unit);
  figures.pageFileFree = inUnit(status.availPageFile, unit);
  figures.virtualTotal = inUnit(status.totalVirtual, unit);
  figures.virtualFree = inUnit(status.availVirtual, unit);
  return true;
}

std::uint32_t freePhysicalPercent(std::uint32_t availPhys, std::uint32_t totalPhys) {
  if (totalPhys == 0) return 0;
  // Dividing first is deliberate: 29 of 100 shows as 28 %.
  const double share = static_cast<double>(availPhys) / static_cast<double>(totalPhys);
  const double percent = share * 100.0;
  if (percent >= 100.0) return 100;
  return static_cast<std::uint32_t>(percent);
}

std::string freeMemoryText(std::uint32_t availPhys, std::uint32_t totalPhys) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "空きメモリ率 %d / %d MB", static_cast<int>(availPhys >> 20),
                static_cast<int>(totalPhys >> 20));
  return buffer;
}

const char* unitLabel(std::int32_t unit) {
  switch (unit) {
    case kUnitByte:
      return "Byte";
    case kUnitKilobyte:
      return "KB";
    case kUnitMegabyte:
      return "MB";
    default:
      return "";
  }
}

std::uint32_t clampedMemorySize(std::uint64_t bytes) {
  constexpr std::uint64_t kLargest = 0xFFFFFFFFu;
  return static_cast<std::uint32_t>(bytes > kLargest ? kLargest : bytes);
}

MemoryStatus readMemoryStatusRecord() {
  MEMORYSTATUS record{};
  GlobalMemoryStatus(&record);
  MemoryStatus status;
  status.memoryLoad = record.dwMemoryLoad;
  status.totalPhys = clampedMemorySize(record.dwTotalPhys);
  status.availPhys = clampedMemorySize(record.dwAvailPhys);
  status.totalPageFile = clampedMemorySize(record.dwTotalPageFile);
  status.availPageFile = clampedMemorySize(record.dwAvailPageFile);
  status.totalVirtual = clampedMemorySize(record.dwTotalVirtual);
  status.availVirtual = clampedMemorySize(record.dwAvailVirtual);
  return status;
}
