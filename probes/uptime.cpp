#include "probes/uptime.h"

#include <windows.h>

#include "framework/platform_text.h"
#include "framework/proc_address.h"

namespace {
// Right-aligned in two characters.
std::wstring twoWide(std::uint64_t value) { return (value < 10 ? L" " : L"") + fw::decimalText(value); }
}  // namespace

std::wstring formatUptime(std::uint64_t milliseconds) {
  const std::uint64_t totalSeconds = milliseconds / 1000;
  const std::uint64_t hours = totalSeconds / 3600;
  const std::wstring minutesAndSeconds =
      twoWide((totalSeconds / 60) % 60) + L"分 " + twoWide(totalSeconds % 60) + L"秒";
  return hours > 0 ? fw::decimalText(hours) + L"時間 " + minutesAndSeconds : minutesAndSeconds;
}

std::uint64_t readUptimeMilliseconds() {
  using GetTickCount64Fn = ULONGLONG(WINAPI*)();
  static const auto tickCount64 = fw::procAddress<GetTickCount64Fn>(GetModuleHandleA("kernel32.dll"), "GetTickCount64");
  return tickCount64 ? tickCount64() : GetTickCount();
}
