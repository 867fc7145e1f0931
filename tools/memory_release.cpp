#include "tools/memory_release.h"

void releaseMemory(MemoryReleasePlatform& platform) {
  const std::uint32_t blockSize = releaseBlockSize(platform.totalPhysical());
  const bool released = platform.withLockedBlock(blockSize, [&](volatile unsigned char* block) {
    walkReleaseBlock(
        blockSize, [block](std::uint32_t offset) { block[offset] = 0; },
        [&](std::int32_t position) { platform.setProgress(position); });
  });
  // Reporting a release that never happened as complete would mislead.
  platform.showMessage(released ? kReleaseComplete : kReleaseNotDone);
}
