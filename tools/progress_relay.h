// Shows a long piece of work's progress on the thread that owns the
// progress display, while the work itself runs on a thread of its own.
//
// A progress position painted at once costs the display's owner a repaint
// with several round trips to the window system, time the release's writes
// would wait for if they ran on the same thread. With the writes on a
// worker thread the repaints happen beside them, and every position is
// still shown, in the order it was reached, before the work is over.
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>

#include "tools/memory_release.h"

class ProgressRelay {
 public:
  using Show = std::function<void(std::int32_t)>;
  explicit ProgressRelay(Show show) : show_(std::move(show)) {}

  // Runs `work` to its end on a worker thread while this thread shows each
  // position the work publishes. Where no thread can be started, `work`
  // runs here and each position is shown as it is published. Either way
  // every position published so far has been shown when this returns.
  void run(const std::function<void()>& work);

  // Called by the work, on whichever thread runs it.
  void publish(std::int32_t position);

 private:
  static DWORD WINAPI runWork(LPVOID relay);
  void showPublished();

  Show show_;
  const std::function<void()>* work_ = nullptr;
  HANDLE published_ = nullptr;  // set by the worker after each position
  // Positions written by the worker, then counted: a release never sends
  // more than one position per hundredth.
  std::array<std::int32_t, kReleaseProgressSteps> positions_{};
  std::atomic<std::size_t> count_{0};
  std::size_t shown_ = 0;
};
