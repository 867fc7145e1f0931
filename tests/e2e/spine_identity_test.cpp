// What the status window shows of the machine under Wine's default Windows
// version and under the older versions Wine can pretend to be: the OS name
// and version line, the processor name and the CPU load beside /proc/stat.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "res/resource.h"
#include "tests/e2e/harness.h"

namespace {

using e2e::Program;
using e2e::WorkingDirectory;

// Two ticks sent this far apart fit between two of the program's own.
constexpr DWORD kComparedIntervalMs = 700;
constexpr int kComparedTicks = 3;
// How far the load of a tick may lie from the machine's over the same time.
constexpr int kLoadTolerance = 5;
// Above this the load clearly reflects the burning processor.
constexpr int kBusyLoad = 40;

std::string versionLineOf(const OSVERSIONINFOA& info) {
  char line[256];
  std::snprintf(line, sizeof line, "%d.%d Build%d %s", static_cast<int>(info.dwMajorVersion),
                static_cast<int>(info.dwMinorVersion), static_cast<int>(info.dwBuildNumber),
                info.szCSDVersion);
  return line;
}

std::string processorNameOf(DWORD type) {
  switch (type) {
    case 386:
      return "386";
    case 486:
      return "486";
    case 586:
      return "Intel Pentium";
    case 8664:  // told to a 64-bit program only
      return "x64";
    default: {
      char name[64];
      std::snprintf(name, sizeof name, "UNKNOWN CPU (%d)", static_cast<int>(type));
      return name;
    }
  }
}

DWORD thisProcessorType() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return info.dwProcessorType;
}

// The shown load, or -1 when the edit does not hold a number.
int shownLoad(const Program& program) {
  const std::string text = program.controlText(IDC_CPU_LOAD);
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::stoi(text);
}

TEST(SpineIdentity, DefaultWineShowsWindowsXpWithThisMachinesVersionAndProcessor) {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExA(&info));
  // Wine's default is an NT version from 5.0 on, which the program names so.
  ASSERT_EQ(2u, info.dwPlatformId) << "this test expects Wine's default NT version";
  ASSERT_GE(info.dwMajorVersion, 5u);

  WorkingDirectory directory;
  Program program(directory);
  ASSERT_TRUE(program.waitForStatusWindow()) << "status window of " << e2e::quimbelExePath();

  EXPECT_EQ("WindowsXP", program.controlText(IDC_OS_NAME));
  EXPECT_EQ(versionLineOf(info), program.controlText(IDC_OS_VERSION));
  EXPECT_EQ(processorNameOf(thisProcessorType()), program.controlText(IDC_CPU_NAME))
      << "processor type " << thisProcessorType();
  // The NT family has no Resource Meter, and that is not reported.
  EXPECT_EQ(nullptr, program.messageBox());
}

TEST(SpineIdentity, FirstLoadShownIsZeroBecauseTheFirstSampleOnlyRecords) {
  // The state before the first tick is seen only if the reads beat the
  // first real tick; the unit label tells, since only a tick sets it.
  constexpr int kAttempts = 3;
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    WorkingDirectory directory;
    Program program(directory);
    ASSERT_TRUE(program.waitForStatusWindow());
    const std::string load = program.controlText(IDC_CPU_LOAD);
    const std::string unitLabel = program.controlText(IDC_PHYSICAL_TOTAL_UNIT);
    if (!unitLabel.empty()) {
      std::printf("attempt %d: a tick came first (label \"%s\"), starting again\n", attempt,
                  unitLabel.c_str());
      continue;
    }
    EXPECT_EQ("0", load) << "the initialisation's sample has no previous reading to measure from";
    return;
  }
  FAIL() << "never saw the window before its first tick in " << kAttempts << " starts";
}

TEST(SpineIdentity, LoadIsTheMachinesOverEachTickWhileOneProcessorBurnsAndAfterwards) {
  WorkingDirectory directory;
  Program program(directory);
  ASSERT_TRUE(program.waitForStatusWindow());

  auto burner = std::make_unique<e2e::CpuBurner>(1);
  int peak = -1;
  for (int tick = 1; tick <= 2 * kComparedTicks; ++tick) {
    if (tick == kComparedTicks + 1) {
      ASSERT_GT(peak, kBusyLoad) << "one of two processors burning";
      burner.reset();
    }
    // Right after one of the program's own ticks (its uptime changes), so
    // its next one comes after the two sent here and the load shown covers
    // exactly their interval.
    const std::string uptime = program.controlText(IDC_UPTIME);
    e2e::waitFor([&] { return program.controlText(IDC_UPTIME) != uptime; }, 2500, 5);
    const e2e::MachineCpuTimes before = e2e::readMachineCpuTimes();
    program.tick();
    Sleep(kComparedIntervalMs);
    program.tick();
    const int machine = e2e::machineBusyPercent(before, e2e::readMachineCpuTimes());
    const int shown = shownLoad(program);
    peak = std::max(peak, shown);
    EXPECT_NEAR(machine, shown, kLoadTolerance)
        << "tick " << tick << (burner ? " while burning" : " after the burn") << ": /proc/stat, then shown";
  }
}

// Wine pretends to be other versions for Quimbel.exe alone. The 9x
// versions also report the missing Resource Meter; the name is set before
// that box opens, so it is read under it.
struct VersionCase {
  const char* wineVersion;
  const char* osName;
  const char* versionLineStart;
};

const VersionCase kVersionCases[] = {
    {"win31", "Windows3.1上のWin32s", "3.10 Build"},  // Win32s counts with the 9x family
    {"win95", "Windows 95", "4.0 Build"},             // 9x at 4.0 itself
    {"win98", "Windows 98", "4.10 Build"},            // minor 10 is 4.10, not 4.1
    {"winme", "Windows Me", "4.90 Build"},            // 4 + 90/100.0 is the double 4.9 itself
    {"nt40", "WindowsNT", "4.0 Build"},               // NT below 5.0
    {"win2k", "WindowsXP", "5.0 Build"},              // NT at 5.0 itself
    {"win10", "WindowsXP", "10.0 Build"},             // the manifest names 10; without it 6.2
};

TEST(SpineIdentity, WindowsVersionsAreNamedByFamilyAndVersion) {
  for (const VersionCase& row : kVersionCases) {
    SCOPED_TRACE(row.wineVersion);
    e2e::WindowsVersionMode mode(row.wineVersion);
    WorkingDirectory directory;
    Program program(directory);
    ASSERT_TRUE(e2e::waitFor([&] { return !program.controlText(IDC_OS_NAME).empty(); }))
        << "no OS name shown under " << row.wineVersion;
    const std::string line = program.controlText(IDC_OS_VERSION);
    EXPECT_EQ(row.osName, program.controlText(IDC_OS_NAME)) << "version line \"" << line << "\"";
    EXPECT_EQ(row.versionLineStart, line.substr(0, std::string(row.versionLineStart).size()))
        << "whole line \"" << line << "\"";
  }
}

}  // namespace
