// The soak: tens of thousands of ticks sent as timer messages, with the
// monitor window and the settings dialog opened and closed along the way.
// Afterwards the graph and the face must still draw, the live drawing
// objects be back at their starting count and private memory be flat.
// Usage: quimbel_soak --quimbel=<Quimbel.exe> [--ticks=50000]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/endurance/driving.h"
#include "tests/support/command_line.h"

namespace {

constexpr int kWarmUpTicks = 1000;
constexpr int kStages = 20;
constexpr int kTicksUnderWindow = 20;
constexpr int kMemorySamples = 5;
constexpr int kTicksBetweenSamples = 20;
// Wine's allocator grows in pages and keeps some slack; growth within one
// sample's spread plus this much is noise, anything more a leak.
constexpr long kMemorySlackKb = 64;

int failures = 0;

void check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
  if (!ok) ++failures;
}

// Several samples of private memory, a few ticks apart; sorted.
std::vector<long> memorySamples(const e2e::Program& program) {
  std::vector<long> samples;
  for (int i = 0; i < kMemorySamples; ++i) {
    program.tick(kTicksBetweenSamples);
    samples.push_back(program.privateMemoryKb());
  }
  std::sort(samples.begin(), samples.end());
  return samples;
}

std::string describe(const std::vector<long>& samples) {
  std::string text;
  for (long kb : samples) text += (text.empty() ? "" : " ") + std::to_string(kb);
  return text + " KB";
}

// The graph: a one-pixel black outline round the background colour, which
// the single line of the history can cover only a small part of.
void checkGraph(const e2e::Program& program) {
  const RECT rect = program.controlScreenRect(IDC_GRAPH);
  const std::vector<COLORREF> pixels = endurance::screenPixels(rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (pixels.empty()) return check(false, "graph: no pixels read from the screen");
  auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; };
  const bool outlined = at(0, 0) == 0 && at(width - 1, 0) == 0 && at(0, height - 1) == 0 &&
                        at(width - 1, height - 1) == 0;
  long background = 0;
  for (int y = 1; y < height - 1; ++y) {
    for (int x = 1; x < width - 1; ++x) background += at(x, y) == RGB(255, 255, 255);
  }
  const long inside = static_cast<long>(width - 2) * (height - 2);
  check(outlined && background * 2 > inside,
        "graph draws: black outline " + std::string(outlined ? "present" : "missing") + ", " +
            std::to_string(background) + " of " + std::to_string(inside) + " inner pixels white");
}

// The face spills past its small control to its 48 x 48 picture.
void checkFace(const e2e::Program& program) {
  RECT rect = program.controlScreenRect(IDC_FACE);
  rect.right = rect.left + 48;
  rect.bottom = rect.top + 48;
  const std::vector<COLORREF> pixels = endurance::screenPixels(rect);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const long drawn = static_cast<long>(std::count_if(pixels.begin(), pixels.end(), [&](COLORREF c) { return c != face; }));
  check(drawn * 4 > static_cast<long>(pixels.size()),
        "face draws: " + std::to_string(drawn) + " of " + std::to_string(pixels.size()) +
            " pixels differ from the dialog colour");
}

}  // namespace

int main(int argc, char** argv) {
  using test_support::optionValue;
  e2e::setQuimbelExePath(test_support::toWindowsPath(optionValue(argc, argv, "--quimbel=")));
  const std::string ticksOption = optionValue(argc, argv, "--ticks=");
  const int ticks = ticksOption.empty() ? 50000 : std::atoi(ticksOption.c_str());
  if (e2e::quimbelExePath().empty() || ticks < kStages) {
    std::fprintf(stderr, "usage: %s --quimbel=<Quimbel.exe> [--ticks=N, at least %d]\n", argv[0], kStages);
    return 2;
  }
  const endurance::Features features = endurance::featuresOf(e2e::quimbelExePath());
  std::printf("soak: %d ticks after %d warm-up ticks\n", ticks, kWarmUpTicks);

  e2e::WorkingDirectory directory;
  e2e::Program program(directory);
  if (!program.waitForStatusWindow()) {
    check(false, "the status window appears");
    return 1;
  }
  program.tick(kWarmUpTicks);
  // The first opening of each window allocates once for good (classes,
  // fonts, the colour chooser's state): that belongs to the warm-up.
  std::string warmUpProblem = features.monitorWindow ? endurance::visitMonitorWindow(program, 1) : "";
  if (warmUpProblem.empty() && features.settingsDialog) warmUpProblem = endurance::visitSettingsDialog(program, 1);
  if (!warmUpProblem.empty()) {
    check(false, "warm-up: " + warmUpProblem);
    return 1;
  }
  const std::optional<long> objectsAtStart = endurance::liveDrawingObjects(program);
  const std::vector<long> memoryAtStart = memorySamples(program);

  std::string trend;
  int monitorVisits = 0;
  int settingsVisits = 0;
  for (int stage = 0; stage < kStages && failures == 0; ++stage) {
    program.tick(ticks / kStages);
    std::string problem;
    if (stage % 2 == 0 && features.monitorWindow) {
      problem = endurance::visitMonitorWindow(program, kTicksUnderWindow);
      ++monitorVisits;
    } else if (stage % 2 == 1 && features.settingsDialog) {
      problem = endurance::visitSettingsDialog(program, kTicksUnderWindow);
      ++settingsVisits;
    }
    if (!problem.empty()) check(false, "stage " + std::to_string(stage) + ": " + problem);
    if (!endurance::responsive(program)) check(false, "stage " + std::to_string(stage) + ": the program answers");
    trend += " " + std::to_string(program.privateMemoryKb());
  }
  std::printf("     private memory after each stage (KB):%s\n", trend.c_str());
  std::printf("     monitor window opened and closed %d times%s\n", monitorVisits,
              features.monitorWindow ? "" : " (not in this build)");
  std::printf("     settings dialog opened and closed %d times%s\n", settingsVisits,
              features.settingsDialog ? "" : " (not in this build)");
  if (failures != 0) return 1;

  const std::vector<long> memoryAtEnd = memorySamples(program);
  const long spread = memoryAtStart.back() - memoryAtStart.front();
  const long growth = memoryAtEnd[kMemorySamples / 2] - memoryAtStart[kMemorySamples / 2];
  check(memoryAtStart.front() > 0 && growth <= spread + kMemorySlackKb,
        "private memory flat: before " + describe(memoryAtStart) + ", after " + describe(memoryAtEnd) +
            "; median growth " + std::to_string(growth) + " KB");

  const std::optional<long> objectsAtEnd = endurance::liveDrawingObjects(program);
  if (objectsAtStart && objectsAtEnd) {
    check(*objectsAtStart == *objectsAtEnd, "live drawing objects back at their start: " +
                                                std::to_string(*objectsAtStart) + " before, " +
                                                std::to_string(*objectsAtEnd) + " after");
  } else {
    std::printf("n/a  live drawing objects: the program does not report them\n");
  }

  checkGraph(program);
  if (features.faces) {
    checkFace(program);
  } else {
    std::printf("n/a  face: no built-in face bitmaps in this build\n");
  }
  const std::string ending = endurance::exitProgram(program);
  check(ending.empty(), "the program ends normally" + (ending.empty() ? "" : ": " + ending));
  std::printf("soak: %s\n", failures == 0 ? "passed" : "FAILED");
  return failures == 0 ? 0 : 1;
}
