#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/handles.h"
#include "tools/progress_relay.h"

namespace {

// The work publishes 0 .. 99 on its own thread and, after the first, waits
// until the caller's thread has shown it: positions must be shown while the
// work runs, not only once it is over.
TEST(ProgressRelay, ShowsEveryPositionInOrderOnTheCallersThreadWhileTheWorkRuns) {
  const DWORD caller = GetCurrentThreadId();
  fw::KernelObject firstShown(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  std::vector<std::int32_t> shown;
  bool allOnCaller = true;
  ProgressRelay relay([&](std::int32_t position) {
    shown.push_back(position);
    allOnCaller = allOnCaller && GetCurrentThreadId() == caller;
    SetEvent(firstShown.get());
  });
  DWORD worker = 0;
  DWORD waitedForFirst = WAIT_FAILED;
  relay.run([&] {
    worker = GetCurrentThreadId();
    relay.publish(0);
    waitedForFirst = WaitForSingleObject(firstShown.get(), 5000);
    for (std::int32_t position = 1; position < 100; ++position) relay.publish(position);
  });

  EXPECT_NE(worker, caller);
  EXPECT_EQ(waitedForFirst, WAIT_OBJECT_0);
  EXPECT_TRUE(allOnCaller);
  std::vector<std::int32_t> expected;
  for (std::int32_t position = 0; position < 100; ++position) expected.push_back(position);
  EXPECT_EQ(shown, expected);
}

}  // namespace
