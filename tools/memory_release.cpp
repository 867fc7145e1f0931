#include "tools/memory_release.h"

#include <algorithm>

namespace {

enum class ReleaseOutcome { Complete, NotDone, Stopped };

// Walks the block in pieces taken from its top down. A piece is as large as
// the rest of the block where that can be had; otherwise the request is
// halved until it succeeds or falls below the smallest piece. A piece that
// could be had is asked for again, so one failure costs no more calls later.
ReleaseOutcome releaseInPieces(MemoryReleasePlatform& platform, std::uint32_t blockSize) {
  ReleaseWalk walk(blockSize);
  auto progress = [&](std::int32_t position) { platform.setProgress(position); };
  std::uint32_t top = blockSize;  // [0, top) is not yet covered by a piece
  std::uint32_t request = blockSize;
  bool anyPiece = false;
  do {
    request = std::min(request, top);
    const std::uint32_t smallest = std::min(kReleaseSmallestPiece, top);
    const auto touch = [&](volatile unsigned char* piece) {
      const std::uint32_t bottom = top - request;
      walk.walkDownTo(bottom, [&](std::uint32_t offset) { piece[offset - bottom] = 0; }, progress);
    };
    bool held = platform.withLockedBlock(request, touch);
    while (!held && request > smallest) {
      request = std::max(request / 2, smallest);
      held = platform.withLockedBlock(request, touch);
    }
    if (!held) return anyPiece ? ReleaseOutcome::Stopped : ReleaseOutcome::NotDone;
    anyPiece = true;
    top -= request;
  } while (!walk.finished());
  return ReleaseOutcome::Complete;
}

}  // namespace

void releaseMemory(MemoryReleasePlatform& platform) {
  const std::uint32_t blockSize = releaseBlockSize(platform.totalPhysical());
  // Reporting a release that never happened, or happened in part, as
  // complete would mislead.
  switch (releaseInPieces(platform, blockSize)) {
    case ReleaseOutcome::Complete:
      platform.showMessage(kReleaseComplete);
      break;
    case ReleaseOutcome::NotDone:
      platform.showMessage(kReleaseNotDone);
      break;
    case ReleaseOutcome::Stopped:
      platform.showMessage(kReleaseStopped);
      break;
  }
}
