// The release's platform side: the classic memory record, a fixed global block,
// the progress bar and the application's message box. The block is written
// on a worker thread while this thread paints the bar.
#include <windows.h>
#include <commctrl.h>

#include "framework/application.h"
#include "framework/handles.h"
#include "framework/resources.h"
#include "probes/memory_status.h"
#include "tools/memory_release.h"
#include "tools/progress_relay.h"

namespace {

class Win32MemoryRelease : public MemoryReleasePlatform {
 public:
  explicit Win32MemoryRelease(HWND bar)
      : relay_([bar](std::int32_t position) { SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0); }) {}

  std::uint32_t totalPhysical() override { return classicTotalPhysical(); }

  bool withLockedBlock(std::uint32_t size, const std::function<void(volatile unsigned char*)>& touch) override {
    // A fixed block's handle is its address: there is nothing to lock.
    fw::GlobalMemory memory(GlobalAlloc(GMEM_FIXED, size));
    if (!memory) return false;
    volatile auto* block = static_cast<volatile unsigned char*>(memory.get());
    relay_.run([&] { touch(block); });
    return true;
  }

  // The bar belongs to this thread; the writes publish from the worker.
  void setProgress(std::int32_t position) override { relay_.publish(position); }

  void showMessage(int textId) override { fw::appMessageBox(fw::loadString(textId), MB_OK); }

 private:
  ProgressRelay relay_;
};

}  // namespace

void releaseMemory(HWND bar) {
  Win32MemoryRelease platform(bar);
  releaseMemory(platform);
}
