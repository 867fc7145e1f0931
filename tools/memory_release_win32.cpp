// The release's platform side: the classic memory record, a fixed global block,
// the progress bar and the application's message box. The block is written
// on a worker thread while this thread paints the bar.
#include <windows.h>

#include "framework/application.h"
#include "framework/handles.h"
#include "framework/progress_bar.h"
#include "probes/memory_status.h"
#include "tools/memory_release.h"
#include "tools/progress_relay.h"

namespace {

class Win32MemoryRelease : public MemoryReleasePlatform {
 public:
  explicit Win32MemoryRelease(const fw::ProgressBar& bar)
      : relay_([&bar](std::int32_t position) { bar.setPos(position); }) {}

  std::uint32_t totalPhysical() override { return classicTotalPhysical(); }

  bool withLockedBlock(std::uint32_t size, const std::function<void(volatile unsigned char*)>& touch) override {
    fw::GlobalMemory memory(GlobalAlloc(GMEM_FIXED, size));
    fw::GlobalMemoryLock lock(memory);
    if (!lock.data()) return false;
    volatile auto* block = static_cast<volatile unsigned char*>(lock.data());
    relay_.run([&] { touch(block); });
    return true;
  }

  // The bar belongs to this thread; the writes publish from the worker.
  void setProgress(std::int32_t position) override { relay_.publish(position); }

  void showMessage(const std::string& text) override { fw::appMessageBox(text, MB_OK); }

 private:
  ProgressRelay relay_;
};

}  // namespace

void releaseMemory(const fw::ProgressBar& bar) {
  Win32MemoryRelease platform(bar);
  releaseMemory(platform);
}
