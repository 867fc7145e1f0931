// The time since the system started, as the status window shows it.
#pragma once

#include <cstdint>
#include <string>

// "H時間 MM分 SS秒" from one hour on, else "MM分 SS秒"; minutes and
// seconds right-aligned in two characters. There are no days: the hours
// go on counting.
std::wstring formatUptime(std::uint64_t milliseconds);

// Milliseconds since the system started: GetTickCount64 where the platform
// has it, which does not wrap; elsewhere GetTickCount, which starts again
// from 0 after 49.7 days.
std::uint64_t readUptimeMilliseconds();
