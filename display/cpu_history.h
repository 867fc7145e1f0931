// The last 30 CPU-load samples, oldest first.
#pragma once

#include <array>
#include <cstdint>

constexpr std::size_t kCpuHistoryLength = 30;
using CpuHistory = std::array<std::uint32_t, kCpuHistoryLength>;

// Drops the oldest sample and appends the new one at the end.
inline void advanceHistory(CpuHistory& history, std::uint32_t sample) {
  for (std::size_t i = 0; i + 1 < history.size(); ++i) history[i] = history[i + 1];
  history.back() = sample;
}
