// The memory-release tool: touches half of physical memory, one byte every
// 1025 from the top of the block down, while the free-memory bar shows how
// far it has come.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "res/resource.h"

constexpr std::uint32_t kReleaseStride = 1025;
// The bottom 1024 bytes of the block are never written.
constexpr std::uint32_t kReleaseUntouchedBottom = 1024;
constexpr std::int32_t kReleaseProgressSteps = 100;

// The closing messages, as string ids.
constexpr int kReleaseComplete = IDS_RELEASE_COMPLETE;
constexpr int kReleaseNotDone = IDS_RELEASE_NOT_DONE;
constexpr int kReleaseStopped = IDS_RELEASE_STOPPED;

// Where the address space holds no single block of the whole size, the
// block is taken in pieces, each as large as can be had, down to this size;
// smaller pieces are not worth the calls.
constexpr std::uint32_t kReleaseSmallestPiece = 1u << 20;

// Half of physical memory, rounded down.
constexpr std::uint32_t releaseBlockSize(std::uint32_t totalPhysical) { return totalPhysical >> 1; }

// The release's walk over its block: one byte zeroed every 1025 from the
// top down, and after a write at most one progress position once the rest
// has fallen below the next hundredth of the block. Positions run 0, 1,
// 2 ... and never reach 100. The walk can be carried from one piece of the
// block to the next, so a block that the address space cannot hold in one
// piece is written exactly as a whole one would be.
class ReleaseWalk {
 public:
  explicit ReleaseWalk(std::uint32_t blockSize)
      : step_(blockSize / kReleaseProgressSteps), remaining_(blockSize) {}

  // Goes on down to offset `bottom`: `write(offset)` for every byte to
  // zero at or above it, `progress(position)` as the walk passes each
  // hundredth.
  template <typename Write, typename Progress>
  void walkDownTo(std::uint32_t bottom, Write&& write, Progress&& progress) {
    while (remaining_ > kReleaseUntouchedBottom && remaining_ > bottom) {
      write(remaining_ - 1);
      remaining_ -= kReleaseStride;
      if (remaining_ < step_ * static_cast<std::uint32_t>(threshold_)) {
        progress(kReleaseProgressSteps - threshold_);
        --threshold_;
      }
    }
  }

  bool finished() const { return remaining_ <= kReleaseUntouchedBottom; }
  // The length left unwritten at the bottom once finished.
  std::uint32_t remaining() const { return remaining_; }

 private:
  std::uint32_t step_;
  std::uint32_t remaining_;
  std::int32_t threshold_ = kReleaseProgressSteps;
};

// The whole walk over one block of `blockSize` bytes; returns the length
// left unwritten at the bottom.
template <typename Write, typename Progress>
std::uint32_t walkReleaseBlock(std::uint32_t blockSize, Write&& write, Progress&& progress) {
  ReleaseWalk walk(blockSize);
  walk.walkDownTo(0, write, progress);
  return walk.remaining();
}

// What the release needs of the platform.
class MemoryReleasePlatform {
 public:
  virtual ~MemoryReleasePlatform() = default;
  // Total physical memory in bytes.
  virtual std::uint32_t totalPhysical() = 0;
  // Allocates and locks a block of `size` bytes, hands its address to
  // `touch`, then unlocks and frees it. False, without calling `touch`, when
  // no block of that size could be had.
  virtual bool withLockedBlock(std::uint32_t size, const std::function<void(volatile unsigned char*)>& touch) = 0;
  virtual void setProgress(std::int32_t position) = 0;
  // Shows the string `textId` in a message box and returns when the user
  // has closed it.
  virtual void showMessage(int textId) = 0;
};

// One run of the tool, from the memory figure to the closing message: the
// whole block at once where it can be had, else piece after piece from the
// top down, each freed before the next is taken.
void releaseMemory(MemoryReleasePlatform& platform);

// Platform side: the release on this machine, its progress shown on the
// progress bar control `bar`.
void releaseMemory(HWND bar);
