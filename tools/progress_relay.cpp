#include "tools/progress_relay.h"

#include "framework/handles.h"

DWORD WINAPI ProgressRelay::runWork(LPVOID relay) {
  auto* self = static_cast<ProgressRelay*>(relay);
  (*self->work_)();
  return 0;
}

void ProgressRelay::run(const std::function<void()>& work) {
  fw::KernelObject published(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  work_ = &work;
  // Set only while a worker runs, and before it starts: it tells publish()
  // which thread it is on.
  published_ = published.get();
  fw::KernelObject worker(published_ ? CreateThread(nullptr, 0, runWork, this, 0, nullptr) : nullptr);
  if (!worker) {
    published_ = nullptr;
    work();
  } else {
    const HANDLE waits[] = {worker.get(), published_};
    DWORD woke = WAIT_FAILED;
    while ((woke = WaitForMultipleObjects(2, waits, FALSE, INFINITE)) == WAIT_OBJECT_0 + 1) showPublished();
    // The work's block is freed after this returns: never before the worker
    // is done with it.
    if (woke != WAIT_OBJECT_0) WaitForSingleObject(worker.get(), INFINITE);
  }
  showPublished();
  published_ = nullptr;
  work_ = nullptr;
}

void ProgressRelay::publish(std::int32_t position) {
  const std::size_t n = count_.load(std::memory_order_relaxed);
  if (n == positions_.size()) return;
  positions_[n] = position;
  count_.store(n + 1, std::memory_order_release);
  if (published_) {
    SetEvent(published_);
  } else {
    showPublished();
  }
}

void ProgressRelay::showPublished() {
  const std::size_t n = count_.load(std::memory_order_acquire);
  while (shown_ < n) show_(positions_[shown_++]);
}
