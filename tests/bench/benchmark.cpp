// The benchmark: every pair measured side by side in this one run, under the
// same Wine, wineserver and display, alternating, medians of the rounds.
//  1. CPU per second of refresh: the program's own CPU time plus what it
//     causes in wineserver and the X server, against Wine's task manager
//     on its performance page at its normal update speed.
//  2. Start-up to the first refresh on screen, against a floor program
//     that shows the same template and font and nothing else.
//  3. The memory release, against the plain allocate-and-write loop.
//  4. The shipped exe's size and its private memory over 10,000 ticks.
//  5. What a tick asks of wineserver and of the kernel, counted, not timed:
//     scripts/benchmark.sh counts them first (scripts/count-requests.sh) and
//     hands the figures over.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/harness.h"
#include "tests/support/command_line.h"

namespace {

using e2e::Program;

constexpr const char* kTaskManager = "C:\\windows\\system32\\taskmgr.exe";
constexpr int kPerformancePage = 2;
constexpr DWORD kSettleMs = 3000;
constexpr int kMemorySamples = 5;
constexpr int kTicksBetweenSamples = 20;
constexpr double kMsPerClockTick = 10.0;  // USER_HZ

struct Options {
  std::string quimbel, floor, plainRelease, shipped, hostPath, prefix, requestsPerTick, systemCallsPerTick;
  unsigned long xServerPid = 0;
  int seconds = 60, rounds = 3, startups = 7, releases = 3, warmUpTicks = 1000, moreTicks = 10000;
};

std::string readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// Time every thread of a Unix process has run, in ms, from the scheduler's
// nanosecond counts (the clock-tick counts of /proc/<pid>/stat are too
// coarse for a program that works a millisecond a second); -1 when unknown.
double unixCpuMs(unsigned long pid) {
  if (pid == 0) return -1;
  const std::string tasks = "Z:\\proc\\" + std::to_string(pid) + "\\task\\";
  WIN32_FIND_DATAA entry{};
  HANDLE find = FindFirstFileA((tasks + "*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return -1;
  double ns = 0;
  bool any = false;
  do {
    if (entry.cFileName[0] < '0' || entry.cFileName[0] > '9') continue;
    const std::string stat = readFile(tasks + entry.cFileName + "\\schedstat");
    if (stat.empty()) continue;
    ns += std::strtod(stat.c_str(), nullptr);
    any = true;
  } while (FindNextFileA(find, &entry));
  FindClose(find);
  return any ? ns / 1e6 : -1;
}

// The wineserver of this prefix: the one whose environment names it.
unsigned long wineserverPid(const std::string& prefix) {
  WIN32_FIND_DATAA entry{};
  HANDLE find = FindFirstFileA("Z:\\proc\\*", &entry);
  if (find == INVALID_HANDLE_VALUE) return 0;
  unsigned long found = 0;
  const std::string wanted = std::string("WINEPREFIX=") + prefix + '\0';
  do {
    const std::string dir = std::string("Z:\\proc\\") + entry.cFileName;
    if (readFile(dir + "\\comm").rfind("wineserver", 0) != 0) continue;  // wineserver, wineserver64
    if (readFile(dir + "\\environ").find(wanted) != std::string::npos) found = std::strtoul(entry.cFileName, nullptr, 10);
  } while (!found && FindNextFileA(find, &entry));
  FindClose(find);
  return found;
}

double median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string list(const std::vector<double>& values, const char* format = "%.1f") {
  std::string text;
  for (double v : values) {
    char item[32];
    std::snprintf(item, sizeof item, format, v);
    text += (text.empty() ? "" : " ") + std::string(item);
  }
  return text;
}

double seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t;
}

struct WindowSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK matchFirstVisible(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
  search->found = window;
  return FALSE;
}

// A process's first visible unowned top-level window: its main window.
HWND firstVisibleWindow(DWORD processId) {
  WindowSearch search{processId, nullptr};
  EnumWindows(matchFirstVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct CpuShare {
  double program = 0, server = 0, display = 0;
  double total() const { return program + server + display; }
};

class Bench {
 public:
  explicit Bench(const Options& options) : o_(options), server_(wineserverPid(options.prefix)) {}

  unsigned long serverPid() const { return server_; }

  CpuShare cpu(const Program* program) const {
    return {program ? unixCpuMs(program->unixProcessId()) : 0, unixCpuMs(server_), unixCpuMs(o_.xServerPid)};
  }

  // What wineserver and the X server spend per second with neither program
  // running (the prefix's own background processes): subtracted from both,
  // so each is charged what it causes.
  double idleCpu() const {
    const CpuShare before = cpu(nullptr);
    Sleep(static_cast<DWORD>(o_.seconds) * 1000);
    const CpuShare after = cpu(nullptr);
    return (after.total() - before.total()) / o_.seconds;
  }

  // CPU ms per second of running on its own; `taskManager` selects the
  // performance page first. Empty result when it could not be measured.
  std::vector<double> refreshCpu(const std::string& exe, bool taskManager, std::string& note) const {
    if (server_ == 0 || o_.xServerPid == 0) return note = "wineserver or X server not found", std::vector<double>{};
    e2e::WorkingDirectory directory;
    Program program(directory, exe);
    HWND main = nullptr;
    e2e::waitFor([&] { return (main = firstVisibleWindow(program.processId())) != nullptr || program.hasExited(); }, 30000);
    if (!main) return note = "no window", std::vector<double>{};
    if (taskManager) {
      HWND tabs = FindWindowExA(main, nullptr, WC_TABCONTROLA, nullptr);
      DWORD_PTR page = 0;
      SendMessageTimeoutA(tabs, TCM_SETCURFOCUS, kPerformancePage, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
      SendMessageTimeoutA(tabs, TCM_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &page);
      if (!tabs || page != kPerformancePage) return note = "performance page not selected", std::vector<double>{};
    }
    Sleep(kSettleMs);
    const CpuShare before = cpu(&program);
    Sleep(static_cast<DWORD>(o_.seconds) * 1000);
    const CpuShare after = cpu(&program);
    if (taskManager) PostMessageA(main, WM_CLOSE, 0, 0); else program.menuCommand(ID_APP_EXIT);
    program.waitForExit(15000);
    const double s = o_.seconds;
    return {(after.total() - before.total()) / s, (after.program - before.program) / s,
            (after.server - before.server) / s, (after.display - before.display) / s};
  }

  // Seconds from process creation to the window shown with the OS name in.
  double startUp(const std::string& exe) const {
    e2e::WorkingDirectory directory;
    const LARGE_INTEGER start = now();
    Program program(directory, exe);
    const bool shown = e2e::waitFor(
        [&] {
          HWND window = program.statusWindow();
          return window && IsWindowVisible(window) && !program.controlText(IDC_OS_NAME).empty();
        },
        30000, 1);
    const LARGE_INTEGER end = now();
    program.menuCommand(ID_APP_EXIT);
    program.waitForExit(15000);
    return shown ? seconds(start, end) * 1000 : -1;
  }

  // Ms from the command to the message box that ends the release, in the
  // program or in the plain loop (which answers the same command in a
  // window of the same caption); the box's text in `text`.
  double release(const std::string& exe, std::string& text) const {
    e2e::WorkingDirectory directory;
    Program program(directory, exe);
    if (!program.waitForStatusWindow()) return -1;
    const LARGE_INTEGER start = now();
    program.menuCommand(ID_RELEASE_MEMORY);
    const bool boxed = program.waitForMessageBox(600000);
    const LARGE_INTEGER end = now();
    if (boxed) {
      text = Program::messageBoxText(program.messageBox());
      Program::clickIn(program.messageBox(), IDOK);
    }
    program.menuCommand(IDCANCEL);
    program.waitForExit(15000);
    return boxed ? seconds(start, end) * 1000 : -1;
  }

 private:
  const Options& o_;
  unsigned long server_;
};

// Private memory a few ticks apart.
std::vector<double> memorySamples(const Program& program) {
  std::vector<double> samples;
  for (int i = 0; i < kMemorySamples; ++i) {
    program.tick(kTicksBetweenSamples);
    samples.push_back(static_cast<double>(program.privateMemoryKb()));
  }
  return samples;
}

void row(const char* what, const std::string& quimbel, const std::string& reference, const std::string& ratio,
         const std::string& target) {
  std::printf("| %-44s | %-14s | %-22s | %-7s | %-8s |\n", what, quimbel.c_str(), reference.c_str(), ratio.c_str(),
              target.c_str());
}

std::string number(double value, const char* format) {
  if (value < 0) return "n/a";
  char text[48];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

int intOption(int argc, char** argv, const char* name, int fallback) {
  const std::string value = test_support::optionValue(argc, argv, name);
  return value.empty() ? fallback : std::atoi(value.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  using test_support::optionValue;
  using test_support::toWindowsPath;
  Options o;
  o.quimbel = toWindowsPath(optionValue(argc, argv, "--quimbel="));
  o.floor = toWindowsPath(optionValue(argc, argv, "--floor="));
  o.plainRelease = toWindowsPath(optionValue(argc, argv, "--plain-release="));
  // The PE32 as shipped, for its size, whichever build this path runs.
  o.shipped = toWindowsPath(optionValue(argc, argv, "--shipped="));
  if (o.shipped.empty()) o.shipped = o.quimbel;
  o.hostPath = optionValue(argc, argv, "--path=");
  o.prefix = optionValue(argc, argv, "--wineprefix=");
  o.xServerPid = std::strtoul(optionValue(argc, argv, "--xserver-pid=").c_str(), nullptr, 10);
  o.seconds = intOption(argc, argv, "--seconds=", o.seconds);
  o.rounds = intOption(argc, argv, "--rounds=", o.rounds);
  o.startups = intOption(argc, argv, "--startups=", o.startups);
  o.releases = intOption(argc, argv, "--releases=", o.releases);
  o.warmUpTicks = intOption(argc, argv, "--warm-up-ticks=", o.warmUpTicks);
  o.moreTicks = intOption(argc, argv, "--more-ticks=", o.moreTicks);
  o.requestsPerTick = optionValue(argc, argv, "--requests-per-tick=");
  o.systemCallsPerTick = optionValue(argc, argv, "--system-calls-per-tick=");
  if (o.quimbel.empty() || o.floor.empty()) {
    std::fprintf(stderr, "usage: %s --quimbel=<exe> --floor=<exe> [--plain-release=<exe>] --xserver-pid=N "
                         "--wineprefix=DIR [--seconds=60 --rounds=3 --startups=7 ...]\n", argv[0]);
    return 2;
  }
  e2e::setQuimbelExePath(o.quimbel);
  const Bench bench(o);

  // 1. CPU per second of refresh, alternating which goes first, each round
  // with the idle background measured before it.
  std::vector<double> quimbelCpu, taskCpu, quimbelOwn, quimbelServer, quimbelDisplay, idle, floorCpu;
  std::string note;
  for (int round = 0; round < o.rounds; ++round) {
    if (note.empty()) idle.push_back(bench.idleCpu());
    for (int turn = 0; turn < 2; ++turn) {
      const bool taskManager = (round + turn) % 2 == 1;
      const std::vector<double> share = bench.refreshCpu(taskManager ? kTaskManager : o.quimbel, taskManager, note);
      if (share.empty()) continue;
      (taskManager ? taskCpu : quimbelCpu).push_back(share[0] - idle.back());
      if (!taskManager) {
        quimbelOwn.push_back(share[1]);
        quimbelServer.push_back(share[2]);
        quimbelDisplay.push_back(share[3]);
      }
    }
    // What any idle Wine dialog costs: the floor, which has no timer.
    const std::vector<double> share = bench.refreshCpu(o.floor, false, note);
    if (!share.empty()) floorCpu.push_back(share[0] - idle.back());
  }

  // Absolute CPU per tick with the ticks sent back to back.
  double ownPerTick = -1, totalPerTick = -1;
  // 4. Private memory over the ticks (the same run).
  std::vector<double> early, late;
  {
    e2e::WorkingDirectory directory;
    Program program(directory);
    if (program.waitForStatusWindow()) {
      program.tick(o.warmUpTicks);
      early = memorySamples(program);
      const CpuShare before = bench.cpu(&program);
      program.tick(o.moreTicks);
      const CpuShare after = bench.cpu(&program);
      ownPerTick = (after.program - before.program) / o.moreTicks;
      totalPerTick = (after.total() - before.total()) / o.moreTicks;
      late = memorySamples(program);
      program.menuCommand(ID_APP_EXIT);
      program.waitForExit(15000);
    }
  }

  // 2. Start-up, after one unmeasured start of each.
  bench.startUp(o.quimbel);
  bench.startUp(o.floor);
  std::vector<double> quimbelStart, floorStart;
  for (int i = 0; i < o.startups; ++i) {
    const bool floorFirst = i % 2 == 1;
    (floorFirst ? floorStart : quimbelStart).push_back(bench.startUp(floorFirst ? o.floor : o.quimbel));
    (floorFirst ? quimbelStart : floorStart).push_back(bench.startUp(floorFirst ? o.quimbel : o.floor));
  }

  // 3. Memory release.
  std::vector<double> quimbelRelease, plainRelease;
  std::string releaseText, plainText;
  for (int i = 0; !o.plainRelease.empty() && i < o.releases; ++i) {
    const bool plainFirst = i % 2 == 1;
    if (plainFirst) plainRelease.push_back(bench.release(o.plainRelease, plainText));
    quimbelRelease.push_back(bench.release(o.quimbel, releaseText));
    if (!plainFirst) plainRelease.push_back(bench.release(o.plainRelease, plainText));
  }

  HANDLE file = CreateFileA(o.shipped.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  const double size = file == INVALID_HANDLE_VALUE ? -1 : GetFileSize(file, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);

  const double qCpu = median(quimbelCpu), tCpu = median(taskCpu);
  const double qStart = median(quimbelStart), fStart = median(floorStart);
  // A release that could not allocate its block did no work worth timing.
  const bool released = releaseText == "解放完了" && plainText == "解放完了";
  const double qRel = released ? median(quimbelRelease) : -1, pRel = released ? median(plainRelease) : -1;
  const double earlyKb = median(early), lateKb = median(late);
  auto ratio = [](double a, double b) { return a >= 0 && b > 0 ? number(a / b, "%.2f") : std::string("n/a"); };

  std::printf("\npath: %s\n", o.hostPath.c_str());
  std::printf("| %-44s | %-14s | %-22s | %-7s | %-8s |\n", "measure", "Quimbel.exe", "reference", "ratio", "target");
  std::printf("|%s|%s|%s|%s|%s|\n", std::string(46, '-').c_str(), std::string(16, '-').c_str(),
              std::string(24, '-').c_str(), std::string(9, '-').c_str(), std::string(10, '-').c_str());
  row("CPU per second of refresh (ms/s)", number(qCpu, "%.2f"), "taskmgr " + number(tCpu, "%.2f"), ratio(qCpu, tCpu), "<= 0.30");
  // Around zero, so it may come out below the idle prefix's own noise.
  char floorText[32] = "n/a";
  if (!floorCpu.empty()) std::snprintf(floorText, sizeof floorText, "%.2f", median(floorCpu));
  row("  idle window, no timer (floor) (ms/s)", floorText, "", "", "");
  row("CPU per tick, sent back to back (ms)", number(ownPerTick, "%.3f"), "with servers " + number(totalPerTick, "%.3f"), "", "");
  // Counted with the ticks sent back to back, so the same on a busy machine.
  row("server requests per tick (counted)", o.requestsPerTick.empty() ? "n/a" : o.requestsPerTick, "", "", "<= 75");
  row("system calls per tick (counted)", o.systemCallsPerTick.empty() ? "n/a" : o.systemCallsPerTick, "", "",
      "<= 250");
  row("start-up to first refresh (ms)", number(qStart, "%.0f"), "floor " + number(fStart, "%.0f"), ratio(qStart, fStart), "<= 1.3");
  row("memory release (ms)", released ? number(qRel, "%.0f") : "not performed",
      o.plainRelease.empty() ? "plain loop not built" : "plain loop " + number(pRel, "%.0f"),
      ratio(qRel, pRel), "<= 1.1");
  row("shipped exe size (KB)", number(size / 1024, "%.0f"), "", "", "< 512");
  row("private memory after warm-up (KB)", number(earlyKb, "%.0f"), "", "", "");
  row(("private memory after " + std::to_string(o.moreTicks) + " more ticks (KB)").c_str(), number(lateKb, "%.0f"),
      "", number(lateKb - earlyKb, "%+.0f"), "noise");
  std::printf("\nraw figures (wineserver pid %lu, X server pid %lu; 0 means not found and not counted)\n",
              bench.serverPid(), o.xServerPid);
  std::printf("  CPU ms/s, %d s each, idle prefix (wineserver + X, subtracted below): %s\n", o.seconds,
              list(idle, "%.2f").c_str());
  std::printf("  CPU ms/s, %d s each, Quimbel.exe (program + wineserver + X - idle): %s\n", o.seconds,
              list(quimbelCpu, "%.2f").c_str());
  std::printf("    program %s; wineserver %s; X server %s (before subtracting)\n", list(quimbelOwn, "%.2f").c_str(),
              list(quimbelServer, "%.2f").c_str(), list(quimbelDisplay, "%.2f").c_str());
  std::printf("  CPU ms/s, %d s each, floor window without a timer (- idle): %s\n", o.seconds,
              list(floorCpu, "%.2f").c_str());
  std::printf("  CPU ms/s, %d s each, taskmgr performance page (- idle): %s%s\n", o.seconds, list(taskCpu, "%.2f").c_str(),
              taskCpu.empty() ? (" (" + note + ")").c_str() : "");
  std::printf("  start-up ms, Quimbel.exe: %s\n  start-up ms, floor: %s\n", list(quimbelStart, "%.0f").c_str(),
              list(floorStart, "%.0f").c_str());
  // The boxes' texts are in the Japanese code page; say what they meant.
  auto meaning = [](const std::string& text) {
    return text.empty() ? std::string("none") : text == "解放完了" ? std::string("release complete")
                                                                    : "another text, " + std::to_string(text.size()) + " bytes";
  };
  std::printf("  memory release ms, Quimbel.exe: %s (its box: %s)\n  plain loop ms: %s (its box: %s)\n",
              list(quimbelRelease, "%.0f").c_str(), meaning(releaseText).c_str(), list(plainRelease, "%.0f").c_str(),
              meaning(plainText).c_str());
  std::printf("  private memory KB after %d warm-up ticks: %s\n", o.warmUpTicks, list(early, "%.0f").c_str());
  std::printf("  private memory KB after %d more ticks: %s\n", o.moreTicks, list(late, "%.0f").c_str());
  return 0;
}
