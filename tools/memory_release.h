// The memory-release tool: touches half of physical memory, one byte every
// 1025 from the top of the block down, while the free-memory bar shows how
// far it has come.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

constexpr std::uint32_t kReleaseStride = 1025;
// The bottom 1024 bytes of the block are never written.
constexpr std::uint32_t kReleaseUntouchedBottom = 1024;
constexpr std::int32_t kReleaseProgressSteps = 100;

constexpr const char* kReleaseComplete = "解放完了";
constexpr const char* kReleaseNotDone = "メモリを確保できなかったため、解放を行いませんでした。";

// Half of physical memory, rounded down.
constexpr std::uint32_t releaseBlockSize(std::uint32_t totalPhysical) { return totalPhysical >> 1; }

// Walks a block of `blockSize` bytes as the release does: `write(offset)` for
// every byte it zeroes, top down, and after a write at most one
// `progress(position)` once the rest has fallen below the next hundredth of
// the block. Positions run 0, 1, 2 ... and never reach 100. Returns the
// length left unwritten at the bottom.
template <typename Write, typename Progress>
std::uint32_t walkReleaseBlock(std::uint32_t blockSize, Write&& write, Progress&& progress) {
  const std::uint32_t step = blockSize / kReleaseProgressSteps;
  std::uint32_t remaining = blockSize;
  std::int32_t threshold = kReleaseProgressSteps;
  while (remaining > kReleaseUntouchedBottom) {
    write(remaining - 1);
    remaining -= kReleaseStride;
    if (remaining < step * static_cast<std::uint32_t>(threshold)) {
      progress(kReleaseProgressSteps - threshold);
      --threshold;
    }
  }
  return remaining;
}

// What the release needs of the platform.
class MemoryReleasePlatform {
 public:
  virtual ~MemoryReleasePlatform() = default;
  // Total physical memory in bytes.
  virtual std::uint32_t totalPhysical() = 0;
  // Allocates and locks a block of `size` bytes, hands its address to
  // `touch`, then unlocks and frees it. False, without calling `touch`, when
  // no block could be had.
  virtual bool withLockedBlock(std::uint32_t size, const std::function<void(volatile unsigned char*)>& touch) = 0;
  virtual void setProgress(std::int32_t position) = 0;
  // Shows a message box and returns when the user has closed it.
  virtual void showMessage(const std::string& text) = 0;
};

// One run of the tool, from the memory figure to the closing message.
void releaseMemory(MemoryReleasePlatform& platform);

namespace fw {
class ProgressBar;
}

// Platform side: the release on this machine, its progress shown on `bar`.
void releaseMemory(const fw::ProgressBar& bar);
