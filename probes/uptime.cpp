#include "probes/uptime.h"

#include <windows.h>

#include <cstdio>

std::string formatUptime(std::uint64_t milliseconds) {
  const std::uint64_t totalSeconds = milliseconds / 1000;
  const int seconds = static_cast<int>(totalSeconds % 60);
  const int minutes = static_cast<int>((totalSeconds / 60) % 60);
  const std::uint64_t hours = totalSeconds / 3600;
  char buffer[64];
  if (hours > 0) {
    std::snprintf(buffer, sizeof buffer, "時間 %2d分 %2d秒", minutes, seconds);
    return std::to_string(hours) + buffer;
  }
  std::snprintf(buffer, sizeof buffer, "%2d分 %2d秒", minutes, seconds);
  return buffer;
}

std::uint64_t readUptimeMilliseconds() {
  using GetTickCount64Fn = ULONGLONG(WINAPI*)();
  static const auto tickCount64 = [] {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? reinterpret_cast<GetTickCount64Fn>(
                        reinterpret_cast<void*>(GetProcAddress(kernel, "GetTickCount64")))
                  : nullptr;
  }();
  return tickCount64 ? tickCount64() : GetTickCount();
}
