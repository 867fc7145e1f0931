#include "probes/memory_status.h"

#include "framework/platform_text.h"
#include "framework/resources.h"
#include "framework/proc_address.h"

namespace {

std::uint64_t inUnit(std::uint64_t bytes, std::int32_t unit) {
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

std::uint32_t freePhysicalPercent(std::uint64_t availPhys, std::uint64_t totalPhys) {
  if (totalPhys == 0) return 0;
  // Dividing first is deliberate: 29 of 100 shows as 28 %.
  const double share = static_cast<double>(availPhys) / static_cast<double>(totalPhys);
  const double percent = share * 100.0;
  if (percent >= 100.0) return 100;
  return static_cast<std::uint32_t>(percent);
}

std::wstring freeMemoryText(const std::wstring& pattern, std::uint64_t availPhys, std::uint64_t totalPhys) {
  return fw::fillIn(pattern, {fw::decimalText(availPhys >> 20), fw::decimalText(totalPhys >> 20)});
}

const wchar_t* unitLabel(std::int32_t unit) {
  switch (unit) {
    case kUnitByte:
      return L"Byte";
    case kUnitKilobyte:
      return L"KB";
    case kUnitMegabyte:
      return L"MB";
    default:
      return L"";
  }
}

std::uint32_t clampedMemorySize(std::uint64_t bytes) {
  constexpr std::uint64_t kLargest = 0xFFFFFFFFu;
  return static_cast<std::uint32_t>(bytes > kLargest ? kLargest : bytes);
}

GlobalMemoryStatusExFn globalMemoryStatusExEntry() {
  return fw::procAddress<GlobalMemoryStatusExFn>(GetModuleHandleA("kernel32.dll"), "GlobalMemoryStatusEx");
}

MemoryStatus readMemoryStatusRecord(GlobalMemoryStatusExFn extended) {
  MEMORYSTATUSEX wide{};
  wide.dwLength = sizeof wide;
  if (extended && extended(&wide)) {
    return {wide.dwMemoryLoad,     wide.ullTotalPhys,    wide.ullAvailPhys,   wide.ullTotalPageFile,
            wide.ullAvailPageFile, wide.ullTotalVirtual, wide.ullAvailVirtual};
  }
  MEMORYSTATUS record{};
  record.dwLength = sizeof record;
  GlobalMemoryStatus(&record);
  return {record.dwMemoryLoad,     record.dwTotalPhys,    record.dwAvailPhys,   record.dwTotalPageFile,
          record.dwAvailPageFile, record.dwTotalVirtual, record.dwAvailVirtual};
}

MemoryStatus readMemoryStatusRecord() {
  // Looked up once: the entry cannot change during the run.
  static const GlobalMemoryStatusExFn extended = globalMemoryStatusExEntry();
  return readMemoryStatusRecord(extended);
}

std::uint32_t classicTotalPhysical() { return clampedMemorySize(readMemoryStatusRecord(nullptr).totalPhys); }
