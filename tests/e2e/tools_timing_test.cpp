// The memory release costs no more than the bare loop it is made of: both
// timed from the command to the closing message box, run after run in turn.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/harness.h"

namespace {

using e2e::Program;
using e2e::WorkingDirectory;

constexpr int kRunsEach = 5;
constexpr DWORD kReleaseLimitMs = 120000;
// Generous: the machine is shared, and the point is only that the progress
// display and the framework add no real cost to the writes.
constexpr double kRatioLimit = 3.0;

double nowMs() {
  LARGE_INTEGER frequency{}, counter{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Milliseconds from the command to the message box, or -1 when none came.
double timeRelease(const std::string& exePath) {
  WorkingDirectory directory;
  Program program(directory, exePath);
  if (!program.waitForStatusWindow()) return -1;
  program.sync();
  const double start = nowMs();
  program.menuCommand(ID_RELEASE_MEMORY);
  if (!e2e::waitFor([&] { return program.messageBox() != nullptr; }, kReleaseLimitMs, 1)) return -1;
  const double elapsed = nowMs() - start;
  EXPECT_EQ("解放完了", Program::messageBoxText(program.messageBox())) << exePath;
  return elapsed;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

TEST(ToolsTiming, ReleaseTakesAboutAsLongAsTheBareLoop) {
  ASSERT_FALSE(e2e::plainReleaseExePath().empty()) << "no --plain-release=";
  MEMORYSTATUS memory{};
  memory.dwLength = sizeof memory;
  GlobalMemoryStatus(&memory);
  std::printf("physical memory as this process sees it: %llu bytes\n",
              static_cast<unsigned long long>(memory.dwTotalPhys));
  std::vector<double> program, plain, ratios;
  for (int run = 0; run < kRunsEach; ++run) {
    program.push_back(timeRelease(e2e::quimbelExePath()));
    plain.push_back(timeRelease(e2e::plainReleaseExePath()));
    ASSERT_GT(program.back(), 0.0) << "Quimbel.exe showed no message box";
    ASSERT_GT(plain.back(), 0.0) << "plain_release.exe showed no message box";
    ratios.push_back(program.back() / plain.back());
    std::printf("run %d: Quimbel %.0f ms, bare loop %.0f ms, ratio %.2f\n", run + 1, program.back(),
                plain.back(), ratios.back());
  }
  const double ratio = median(program) / median(plain);
  std::printf("median: Quimbel %.0f ms, bare loop %.0f ms; ratio of medians %.2f, median ratio %.2f\n",
              median(program), median(plain), ratio, median(ratios));
  EXPECT_LT(median(ratios), kRatioLimit);
}

}  // namespace
