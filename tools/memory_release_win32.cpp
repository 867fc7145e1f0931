// The release's platform side: GlobalMemoryStatus, a fixed global block,
// the progress bar and the application's message box.
#include <windows.h>

#include "framework/application.h"
#include "framework/handles.h"
#include "framework/progress_bar.h"
#include "probes/memory_status.h"
#include "tools/memory_release.h"

namespace {

class Win32MemoryRelease : public MemoryReleasePlatform {
 public:
  explicit Win32MemoryRelease(const fw::ProgressBar& bar) : bar_(bar) {}

  std::uint32_t totalPhysical() override { return readMemoryStatusRecord().totalPhys; }

  bool withLockedBlock(std::uint32_t size, const std::function<void(volatile unsigned char*)>& touch) override {
    fw::GlobalMemory memory(GlobalAlloc(GMEM_FIXED, size));
    fw::GlobalMemoryLock lock(memory);
    if (!lock.data()) return false;
    touch(static_cast<volatile unsigned char*>(lock.data()));
    return true;
  }

  void setProgress(std::int32_t position) override { bar_.setPos(position); }

  void showMessage(const std::string& text) override { fw::appMessageBox(text, MB_OK); }

 private:
  const fw::ProgressBar& bar_;
};

}  // namespace

void releaseMemory(const fw::ProgressBar& bar) {
  Win32MemoryRelease platform(bar);
  releaseMemory(platform);
}
