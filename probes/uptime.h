// The time since the system started, as the status window shows it.
#pragma once

#include <cstdint>
#include <string>

// The words of the uptime in the interface's language: %1 hours, %2
// minutes, %3 seconds in the first; %1 minutes, %2 seconds in the second.
struct UptimePatterns {
  std::wstring hoursMinutesSeconds;
  std::wstring minutesSeconds;
};

// The hours form from one hour on, else the minutes form; minutes and
// seconds right-aligned in two characters. There are no days: the hours
// go on counting.
std::wstring formatUptime(std::uint64_t milliseconds, const UptimePatterns& patterns);

// Milliseconds since the system started: GetTickCount64 where the platform
// has it, which does not wrap; elsewhere GetTickCount, which starts again
// from 0 after 49.7 days.
std::uint64_t readUptimeMilliseconds();
