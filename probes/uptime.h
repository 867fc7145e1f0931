// The time since the system started, as the status window shows it.
#pragma once

#include <cstdint>
#include <string>

// "H時間 MM分 SS秒" from one hour on, else "MM分 SS秒"; minutes and
// seconds right-aligned in two characters. There are no days.
std::string formatUptime(std::uint32_t milliseconds);
