#include "probes/uptime.h"

#include <windows.h>

#include "framework/platform_text.h"
#include "framework/resources.h"
#include "framework/proc_address.h"

namespace {
// Right-aligned in two characters.
std::wstring twoWide(std::uint64_t value) { return (value < 10 ? L" " : L"") + fw::decimalText(value); }
}  // namespace

std::wstring formatUptime(std::uint64_t milliseconds, const UptimePatterns& patterns) {
  const std::uint64_t totalSeconds = milliseconds / 1000;
  const std::uint64_t hours = totalSeconds / 3600;
  const std::wstring minutes = twoWide((totalSeconds / 60) % 60);
  const std::wstring seconds = twoWide(totalSeconds % 60);
  return hours > 0 ? fw::fillIn(patterns.hoursMinutesSeconds, {fw::decimalText(hours), minutes, seconds})
                   : fw::fillIn(patterns.minutesSeconds, {minutes, seconds});
}

std::uint64_t readUptimeMilliseconds() {
  using GetTickCount64Fn = ULONGLONG(WINAPI*)();
  static const auto tickCount64 = fw::procAddress<GetTickCount64Fn>(GetModuleHandleA("kernel32.dll"), "GetTickCount64");
  return tickCount64 ? tickCount64() : GetTickCount();
}
