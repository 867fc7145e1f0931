// The bad-input run: the real program started on generated settings files,
// broken face files, odd directory names and very long working directories.
// Each time it must start, tick, open the settings dialog and end without a
// crash or hang, and every key of the settings file it does not own must
// still be there afterwards. Fixed seeds: every run makes the same inputs.
// Usage: quimbel_bad_input --quimbel=<Quimbel.exe> [--settings=1000]
//        [--faces=200] [--jobs=2] [--first=0 (the first settings case, to
//        repeat one that failed)]
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/endurance/bad_faces.h"
#include "tests/endurance/bad_settings.h"
#include "tests/endurance/driving.h"
#include "tests/support/command_line.h"

namespace {

using endurance::Features;
using e2e::Program;

const char* const kMoods[] = {"fine.bmp", "calm.bmp", "down.bmp", "busy.bmp"};
constexpr int kTicksPerCase = 3;
constexpr std::size_t kShownLength = 100;

// How many foreign entries a run checked, and how many the platform's own
// rewrite changes on its own (left out of the check).
struct Kept {
  std::size_t checked = 0;
  std::size_t platformLost = 0;
};

struct Tally {
  int cases = 0;
  int failures = 0;
  long foreignEntries = 0;  // checked after the runs
  long platformLost = 0;     // changed by the platform's own rewrite alone
};

class Report {
 public:
  void record(const std::string& category, const std::string& what, const std::string& problem,
              const Kept& kept = {}) {
    std::lock_guard<std::mutex> lock(mutex_);
    Tally& tally = tallies_[category];
    ++tally.cases;
    tally.foreignEntries += static_cast<long>(kept.checked);
    tally.platformLost += static_cast<long>(kept.platformLost);
    if (problem.empty()) return;
    ++tally.failures;
    std::printf("FAIL %s, %s: %s\n", category.c_str(), what.c_str(), problem.substr(0, 4 * kShownLength).c_str());
    std::fflush(stdout);
  }

  int print() const {
    int failures = 0;
    std::printf("%-40s %7s %9s %13s %15s\n", "category", "cases", "failures", "foreign keys", "platform-lost");
    for (const auto& [category, tally] : tallies_) {
      std::printf("%-40s %7d %9d %13ld %15ld\n", category.c_str(), tally.cases, tally.failures, tally.foreignEntries,
                  tally.platformLost);
      failures += tally.failures;
    }
    return failures;
  }

 private:
  std::mutex mutex_;
  std::map<std::string, Tally> tallies_;
};

std::string shown(std::string text) {
  if (text.size() > kShownLength) text = text.substr(0, kShownLength) + "...";
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  return text;
}

// One program run in `directory`; `during` may drive it further before the
// settings dialog is opened. "" or what went wrong.
// `kept` receives the counts of foreign entries checked.
std::string runOnce(const std::string& directory, const Features& features, Kept* kept = nullptr,
                    const std::function<std::string(const Program&)>& during = {}) {
  const std::string iniPath = directory + "\\quimbel.ini";
  const std::vector<std::string> original = endurance::foreignEntries(iniPath);
  const std::vector<std::string> platformLost =
      endurance::missingEntries(original, endurance::foreignEntriesAfterPlatformRewrite(iniPath));
  // What the platform alone keeps, the program must keep.
  const std::vector<std::string> before = endurance::missingEntries(original, platformLost);
  if (kept) *kept = {before.size(), platformLost.size()};
  Program program(directory);
  if (!program.started()) return "the program did not start";
  if (!program.waitForStatusWindow()) {
    return program.hasExited() ? "the program ended at start, code " + std::to_string(program.exitCode())
                               : "no status window (hung at start?)";
  }
  program.tick(kTicksPerCase);
  if (!endurance::responsive(program)) return "the program does not answer after ticking";
  std::string problem = during ? during(program) : "";
  if (problem.empty() && features.settingsDialog) problem = endurance::visitSettingsDialog(program, 1);
  // A settings path too long for the platform's profile calls is never
  // written; the program must say so at exit.
  const bool unwritable = iniPath.size() >= MAX_PATH;
  if (problem.empty()) problem = endurance::exitProgram(program, unwritable ? iniPath : std::string());
  if (!problem.empty()) return problem;
  const std::vector<std::string> missing = endurance::missingEntries(before, endurance::foreignEntries(iniPath));
  if (!missing.empty()) {
    return std::to_string(missing.size()) + " of " + std::to_string(before.size()) +
           " foreign entries lost, e.g. " + shown(missing.front());
  }
  return "";
}

// Runs `count` cases on up to `jobs` programs at once.
void inParallel(int count, int jobs, const std::function<void(int)>& runCase) {
  std::atomic<int> next{0};
  std::vector<std::thread> workers;
  for (int j = 0; j < std::max(1, jobs); ++j) {
    workers.emplace_back([&] {
      for (int i = next++; i < count; i = next++) runCase(i);
    });
  }
  for (std::thread& worker : workers) worker.join();
}

void settingsFiles(int first, int count, int jobs, const Features& features, Report& report) {
  inParallel(count, jobs, [&](int number) {
    const int index = first + number;
    const endurance::GeneratedFile file = endurance::badSettingsFile(index);
    e2e::WorkingDirectory directory;
    directory.writeSettings(file.bytes);
    Kept foreign;
    const std::string problem = runOnce(directory.path(), features, &foreign);
    report.record("settings file: " + file.kind, "case " + std::to_string(index), problem, foreign);
  });
}

// One run per category: the broken file placed under all four mood names,
// swapped between ticks, each seen by the ticks and the settings preview.
void faceFiles(int perCategory, int jobs, const Features& features, Report& report) {
  if (perCategory <= 0) return;
  inParallel(endurance::kFaceCategories, jobs, [&](int category) {
    const std::string name = std::string("face file: ") + endurance::faceCategoryName(category);
    e2e::WorkingDirectory directory;
    const std::string set = directory.path() + "\\broken";
    CreateDirectoryA(set.c_str(), nullptr);
    directory.writeSettings("[GENERAL]\r\nFaceDir=broken\r\nForeignFace=kept\r\n[Mine]\r\nA=1\r\n");
    int done = 0;
    Kept foreign;
    const std::string problem = runOnce(directory.path(), features, &foreign, [&](const Program& program) {
      for (; done < perCategory; ++done) {
        const std::string bytes = endurance::badFaceFile(category, done);
        for (const char* mood : kMoods) {
          if (!endurance::writeFile(set + "\\" + mood, bytes)) return "could not write " + std::string(mood);
        }
        program.tick(kTicksPerCase);
        std::string failed = endurance::responsive(program) ? "" : "the program does not answer";
        if (failed.empty() && features.settingsDialog) failed = endurance::visitSettingsDialog(program, 1);
        if (!failed.empty()) return "case " + std::to_string(done) + ": " + failed;
      }
      return std::string();
    });
    // Every case ran in the one program run; a failure stops the run and is
    // laid to the case it came in (or, at the end of the run, the last one).
    const int failedCase = problem.empty() ? -1 : std::min(done, perCategory - 1);
    for (int i = 0; i < perCategory; ++i) {
      const std::string outcome = i == failedCase ? problem : failedCase >= 0 && i > failedCase ? "not reached" : "";
      report.record(name, "case " + std::to_string(i), outcome, i == 0 ? foreign : Kept{});
    }
  });
}

// A valid face set, so an odd name is also drawn from.
void writeFaceSet(const std::string& directory) {
  CreateDirectoryA(directory.c_str(), nullptr);
  const std::string face = endurance::badFaceFile(1, 4);  // a whole 64 x 64 picture, too big but sound
  for (const char* mood : kMoods) endurance::writeFile(directory + "\\" + mood, face);
}

void oddDirectories(const Features& features, Report& report) {
  static const char* const kNames[] = {
      "with space", "空白 を 含む", "表示", "ソフト能力", "ﾊﾝｶｸ ｶﾅ", "[GENERAL]", "a=b", ";comment", "%s%n%d",
      "#hash", "name.with.dots", "'quote'", "{brace}", "(paren)", "＜デフォルト＞", "~tilde", "-",
      "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"};
  for (const char* name : kNames) {
    e2e::WorkingDirectory base;
    const std::string directory = base.path() + "\\" + name;
    if (!CreateDirectoryA(directory.c_str(), nullptr)) {
      report.record("odd directory names", shown(name), "could not create the directory");
      continue;
    }
    // The working directory's own name again as a face set in it, among
    // the others the settings dialog lists.
    for (const char* other : kNames) CreateDirectoryA((directory + "\\" + other).c_str(), nullptr);
    writeFaceSet(directory + "\\" + name);
    endurance::writeFile(directory + "\\quimbel.ini",
                         std::string("[GENERAL]\r\nFaceDir=") + name + "\r\nKeepMe=1\r\n[" + name + "]\r\nMine=2\r\n");
    Kept foreign;
    std::string problem = runOnce(directory, features, &foreign);
    if (problem.empty() && !e2e::readSetting(directory + "\\quimbel.ini", "GENERAL", "X").present) {
      problem = "the exit keys were not written in the working directory";
    }
    report.record("odd directory names", shown(name), problem, foreign);
  }
}

void longDirectories(const Features& features, Report& report) {
  // 247 + "\quimbel.ini" is the longest settings path a classic path holds.
  for (std::size_t length : {120u, 200u, 240u, 246u, 247u, 248u, 255u}) {
    e2e::WorkingDirectory base;
    const std::string directory = endurance::makeDirectoryOfLength(base.path(), length);
    const std::string what = std::to_string(length) + " characters";
    if (directory.empty()) {
      report.record("very long working directories", what, "could not make the directory");
      continue;
    }
    endurance::writeFile(directory + "\\quimbel.ini", "[GENERAL]\r\nX=10\r\nKeepMe=1\r\n");
    Kept foreign;
    const std::string problem = runOnce(directory, features, &foreign);
    report.record("very long working directories", what, problem, foreign);
  }
}

int optionNumber(int argc, char** argv, const char* option, int fallback) {
  const std::string value = test_support::optionValue(argc, argv, option);
  return value.empty() ? fallback : std::atoi(value.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  e2e::setQuimbelExePath(test_support::toWindowsPath(test_support::optionValue(argc, argv, "--quimbel=")));
  if (e2e::quimbelExePath().empty()) {
    std::fprintf(stderr, "usage: %s --quimbel=<Quimbel.exe> [--settings=N] [--faces=N] [--jobs=N]\n", argv[0]);
    return 2;
  }
  const int settings = optionNumber(argc, argv, "--settings=", 1000);
  const int faces = optionNumber(argc, argv, "--faces=", 200);
  const int jobs = optionNumber(argc, argv, "--jobs=", 2);
  const int perCategory = (faces + endurance::kFaceCategories - 1) / endurance::kFaceCategories;
  const Features features = endurance::featuresOf(e2e::quimbelExePath());
  std::printf("bad input: %d settings files, %d broken face files, odd and very long directories; settings "
              "dialog %s\n",
              settings, perCategory * endurance::kFaceCategories,
              features.settingsDialog ? "opened every time" : "not in this build, so not opened");
  std::fflush(stdout);

  Report report;
  settingsFiles(optionNumber(argc, argv, "--first=", 0), settings, jobs, features, report);
  faceFiles(perCategory, jobs, features, report);
  oddDirectories(features, report);
  longDirectories(features, report);
  const int failures = report.print();
  std::printf("bad input: %s\n", failures == 0 ? "passed" : "FAILED");
  return failures == 0 ? 0 : 1;
}
