#include "probes/uptime.h"

#include <cstdio>

std::string formatUptime(std::uint32_t milliseconds) {
  const std::uint32_t totalSeconds = milliseconds / 1000;
  const int seconds = static_cast<int>(totalSeconds % 60);
  const int minutes = static_cast<int>((totalSeconds / 60) % 60);
  const int hours = static_cast<int>(totalSeconds / 3600);
  char buffer[64];
  if (hours > 0) {
    std::snprintf(buffer, sizeof buffer, "%d時間 %2d分 %2d秒", hours, minutes, seconds);
  } else {
    std::snprintf(buffer, sizeof buffer, "%2d分 %2d秒", minutes, seconds);
  }
  return buffer;
}
