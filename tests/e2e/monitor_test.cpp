// The monitor window: it stands in for the status window with a graph of
// its own, ends every way the user can end it, and remembers its place.
// The 9x CPU statistic makes every sample a known value.
#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "tests/e2e/harness.h"

namespace {

using e2e::Program;
using e2e::WorkingDirectory;

constexpr const char* kMonitorCaption = "QuimbelUtilityモニター";
constexpr COLORREF kRed = 0x0000FF;
constexpr int kFullLoadRise = 22;  // load 100 lies this far above the graph's bottom

class CpuUsage {
 public:
  ~CpuUsage() { e2e::deleteDynDataValue("PerfStats\\StatData", "KERNEL\\CPUUsage"); }
  void set(std::uint32_t value) {
    ASSERT_TRUE(e2e::setDynDataValue("PerfStats\\StatData", "KERNEL\\CPUUsage", value));
  }
};

// The red pixels on the row of load 100: 4 per pair of full-load samples
// in a row, so it shrinks by 4 with every zero sample the history takes.
int fullLoadRun(HWND graph) {
  const RECT area = e2e::clientScreenRect(graph);
  int run = 0;
  for (int x = area.left; x < area.right; ++x) {
    if (e2e::screenPixel(x, area.bottom - kFullLoadRise) == kRed) ++run;
  }
  return run;
}

// Starts the program as Windows 98 sees it and answers the report of the
// missing Resource Meter.
void startAs98(Program& program) {
  ASSERT_TRUE(program.waitForMessageBox());
  Program::clickIn(program.messageBox(), IDOK);
  ASSERT_TRUE(program.waitForStatusWindow());
}

HWND openMonitor(const Program& program) {
  program.clickWithoutWaiting(IDC_MONITOR);
  return program.waitForWindowCaptioned(kMonitorCaption);
}

bool closed(const Program& program) {
  return e2e::waitFor([&] {
    HWND monitor = program.windowCaptioned(kMonitorCaption);
    return (!monitor || !IsWindowVisible(monitor)) && IsWindowVisible(program.statusWindow());
  });
}

TEST(MonitorWindow, StandsInForTheStatusWindowWithItsOwnHistory) {
  e2e::WindowsVersionMode win98("win98");
  CpuUsage usage;
  usage.set(100);
  WorkingDirectory directory;
  directory.writeSettings("[GENERAL]\r\nLineColor=255\r\n");
  Program program(directory);
  startAs98(program);
  program.tick(30);
  usage.set(0);
  program.tick(10);  // full load up to x = 76 or, with real ticks between, a little less
  const int statusRun = fullLoadRun(program.control(IDC_GRAPH));
  ASSERT_GT(statusRun, 50) << "the status window's graph is not as set up";

  HWND monitor = openMonitor(program);
  ASSERT_TRUE(monitor) << "no monitor window";
  EXPECT_FALSE(IsWindowVisible(program.statusWindow())) << "status window still shown";
  EXPECT_FALSE(IsWindowEnabled(program.statusWindow())) << "status window not disabled under its owned window";
  RECT place{};
  GetWindowRect(monitor, &place);
  EXPECT_EQ(500, place.left);
  EXPECT_EQ(400, place.top);
  HWND graph = GetDlgItem(monitor, IDC_GRAPH);
  int monitorRun = 0;
  // A status tick may fall between reading its graph and the copy.
  EXPECT_TRUE(e2e::waitFor([&] {
    monitorRun = fullLoadRun(graph);
    return monitorRun <= statusRun && monitorRun >= statusRun - 4;
  }, 900)) << "monitor starts at " << monitorRun << ", status window showed " << statusRun;

  program.tick(10);  // only the hidden status window's history takes these
  const std::string uptime = program.controlText(IDC_UPTIME);
  EXPECT_TRUE(e2e::waitFor([&] { return program.controlText(IDC_UPTIME) != uptime; }, 3000))
      << "the hidden status window's own timer stopped";
  int advanced = 0;
  EXPECT_TRUE(e2e::waitFor([&] { return (advanced = fullLoadRun(graph)) <= monitorRun - 4; }, 4000))
      << "monitor graph stays at " << advanced;

  program.pressKey(VK_ESCAPE);
  ASSERT_TRUE(closed(program)) << "Esc does not end the monitor window";
  program.tick();
  const int statusAfter = fullLoadRun(program.control(IDC_GRAPH));
  EXPECT_LE(statusAfter, statusRun - 40) << "status window's own 10 extra samples are not shown; monitor had "
                                         << advanced;

  ASSERT_TRUE(openMonitor(program));
  program.pressKey(VK_RETURN);
  EXPECT_TRUE(closed(program)) << "Enter does not end the monitor window";
  monitor = openMonitor(program);
  ASSERT_TRUE(monitor);
  Program::clickIn(monitor, IDCANCEL);
  EXPECT_TRUE(closed(program)) << "Back does not end the monitor window";
}

TEST(MonitorWindow, OpensClampedAndTheLastRecordedPlaceIsWrittenAtExit) {
  WorkingDirectory directory;
  directory.writeSettings("[MONITOR]\r\nX=-30\r\nY=20\r\n");
  Program program(directory);
  ASSERT_TRUE(program.waitForStatusWindow());
  HWND monitor = openMonitor(program);
  ASSERT_TRUE(monitor);
  RECT place{};
  GetWindowRect(monitor, &place);
  EXPECT_EQ(0, place.left);
  EXPECT_EQ(20, place.top);

  SetWindowPos(monitor, nullptr, 300, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Sleep(2500);  // at least one tick of the monitor's own timer records the place
  Program::clickIn(monitor, IDCANCEL);
  ASSERT_TRUE(closed(program));
  program.click(IDOK);
  ASSERT_TRUE(program.waitForExit());
  EXPECT_EQ("300", e2e::readSetting(directory.settingsPath(), "MONITOR", "X").text);
  EXPECT_EQ("250", e2e::readSetting(directory.settingsPath(), "MONITOR", "Y").text);
}

}  // namespace
