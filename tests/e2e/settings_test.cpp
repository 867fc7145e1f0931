// End-to-end tests of quimbel.ini: what the status window takes from it at
// start-up, how that shows on screen, what it writes back when it closes,
// and that no file, however broken, stops the program or makes it hang.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/harness.h"

namespace {

using e2e::Program;
using e2e::WorkingDirectory;

constexpr DWORD kExitTimeoutMs = 15000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kRed = 0x0000FF;

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<void, HandleCloser>;

// The six labels beside the memory figures, in the order they are listed.
constexpr int kUnitLabels[] = {IDC_PHYSICAL_TOTAL_UNIT, IDC_PHYSICAL_FREE_UNIT,
                               IDC_PAGEFILE_TOTAL_UNIT, IDC_PAGEFILE_FREE_UNIT,
                               IDC_VIRTUAL_TOTAL_UNIT,  IDC_VIRTUAL_FREE_UNIT};
constexpr int kUnitButtons[] = {IDC_UNIT_BYTE, IDC_UNIT_KB, IDC_UNIT_MB};

// ---- reading the window ---------------------------------------------------

std::vector<std::string> unitLabels(const Program& program) {
  std::vector<std::string> labels;
  for (int id : kUnitLabels) labels.push_back(program.controlText(id));
  return labels;
}

std::string describe(const std::vector<std::string>& labels) {
  std::string text;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    text += std::to_string(kUnitLabels[i]) + "='" + labels[i] + "' ";
  }
  return text;
}

bool allAre(const std::vector<std::string>& labels, const std::string& text) {
  return std::all_of(labels.begin(), labels.end(), [&](const std::string& l) { return l == text; });
}

// The index of the checked unit button, -1 when none is; -2 when more than
// one is, which a radio group must never show.
int checkedUnit(const Program& program) {
  int found = -1;
  for (int i = 0; i < 3; ++i) {
    if (!program.isChecked(kUnitButtons[i])) continue;
    if (found != -1) return -2;
    found = i;
  }
  return found;
}

std::string hex(COLORREF colour) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06lX", static_cast<unsigned long>(colour));
  return text;
}

// The colour most of the graph area shows, sampled on a grid inside its
// one-pixel outline, so that a load line crossing the area cannot decide it.
COLORREF dominantGraphColour(const Program& program, std::string& samples) {
  const RECT area = program.controlScreenRect(IDC_GRAPH);
  const int inset = 3;
  std::map<COLORREF, int> counts;
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 5; ++column) {
      const int x = area.left + inset + (area.right - area.left - 2 * inset - 1) * column / 4;
      const int y = area.top + inset + (area.bottom - area.top - 2 * inset - 1) * row / 2;
      ++counts[e2e::screenPixel(x, y)];
    }
  }
  COLORREF best = CLR_INVALID;
  int bestCount = 0;
  samples.clear();
  for (const auto& [colour, count] : counts) {
    samples += hex(colour) + " x" + std::to_string(count) + " ";
    if (count > bestCount) {
      best = colour;
      bestCount = count;
    }
  }
  return best;
}

// ---- the settings file as the program left it -----------------------------

struct IniEntry {
  std::string section;
  std::string key;
  std::string value;
};

std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::vector<std::string> fileLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    pos = end + 1;
  }
  return lines;
}

// Every "key=value" line with the section it stands in; comments and other
// lines are left out.
std::vector<IniEntry> iniEntries(const std::string& bytes) {
  std::vector<IniEntry> entries;
  std::string section;
  for (const std::string& raw : fileLines(bytes)) {
    const std::string line = trimmed(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const std::size_t close = line.find(']');
      section = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    entries.push_back({section, trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1))});
  }
  return entries;
}

// The profile engine matches names without regard to letter case.
std::optional<std::string> valueOf(const std::vector<IniEntry>& entries, const std::string& section,
                                   const std::string& key) {
  std::optional<std::string> value;
  for (const IniEntry& entry : entries) {
    if (_stricmp(entry.section.c_str(), section.c_str()) == 0 &&
        _stricmp(entry.key.c_str(), key.c_str()) == 0) {
      value = entry.value;
    }
  }
  return value;
}

std::string describe(const std::optional<std::string>& value) {
  return value ? "'" + *value + "'" : std::string("(absent)");
}

// ---- closing ----------------------------------------------------------------

enum class Close { ExitButton, CloseBox, FileExit, Escape };

const char* name(Close how) {
  switch (how) {
    case Close::ExitButton: return "Exit button";
    case Close::CloseBox: return "close box";
    case Close::FileExit: return "File > Exit";
    case Close::Escape: return "Esc";
  }
  return "?";
}

void PrintTo(Close how, std::ostream* os) { *os << name(how); }

// Every request is posted. Posted messages are handled before any timer
// message, so a click and a close posted one after the other reach the
// window with no tick between them.
void requestClose(const Program& program, Close how) {
  switch (how) {
    case Close::ExitButton:
      program.clickWithoutWaiting(IDOK);
      break;
    case Close::CloseBox:
      PostMessageA(program.statusWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case Close::FileExit:
      program.menuCommand(ID_APP_EXIT);
      break;
    case Close::Escape:
      program.pressKey(VK_ESCAPE);
      break;
  }
}

// Closes the program and checks that the process ends, and ends normally.
void closeAndWaitForExit(const Program& program, Close how) {
  requestClose(program, how);
  ASSERT_TRUE(program.waitForExit(kExitTimeoutMs))
      << "expected the process to end within " << kExitTimeoutMs << " ms after " << name(how)
      << "; it is still running";
  EXPECT_EQ(0u, program.exitCode()) << "expected exit code 0 after " << name(how) << ", got 0x"
                                     << std::hex << program.exitCode();
}

// Starts the program over `directory`, waits for the window and runs one tick.
void startAndTick(Program& program) {
  ASSERT_TRUE(program.started()) << "expected Quimbel.exe to start: " << e2e::quimbelExePath();
  ASSERT_TRUE(program.waitForStatusWindow()) << "expected the status window to come up";
  program.tick();
}

// Closes the program where its settings cannot be written: one message box,
// captioned with the program's name, names the file; once it is answered
// the process ends, and ends normally.
void closeThroughUnsavedMessage(Program& program, Close how, const std::string& settingsPath) {
  requestClose(program, how);
  ASSERT_TRUE(program.waitForMessageBox()) << "expected a message box after " << name(how);
  HWND box = program.messageBox();
  EXPECT_EQ("Quimbel", Program::windowText(box)) << "message box caption";
  EXPECT_EQ(nullptr, GetWindow(box, GW_OWNER)) << "the box must not hang on the window going away";
  const std::string text = Program::messageBoxText(box);
  EXPECT_NE(std::string::npos, text.find(settingsPath)) << "expected the message to name " << settingsPath
                                                        << ", it says:\n" << text;
  Program::clickIn(box, IDOK);
  ASSERT_TRUE(program.waitForExit(kExitTimeoutMs)) << "expected the process to end once the box was answered";
  EXPECT_EQ(0u, program.exitCode());
}

POINT centredCorner(const RECT& window) {
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  return {(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

// A settings file that can be read but not written. The read-only attribute
// alone does not stop a process running as root under Wine, so the file is
// also held open without write sharing for as long as this object lives.
class UnwritableFile {
 public:
  explicit UnwritableFile(std::string path) : path_(std::move(path)) {
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE lock = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (lock != INVALID_HANDLE_VALUE) lock_.reset(lock);
  }
  ~UnwritableFile() {
    lock_.reset();
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  UnwritableFile(const UnwritableFile&) = delete;
  UnwritableFile& operator=(const UnwritableFile&) = delete;

  // Whether an attempt to open it for writing is refused.
  bool refusesWriting() const {
    HANDLE probe = CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return true;
    OwnedHandle opened(probe);
    return false;
  }

 private:
  std::string path_;
  OwnedHandle lock_;
};

// ---- first start -------------------------------------------------------------

class SettingsFirstStart : public ::testing::TestWithParam<Close> {};

// No file yet: defaults everywhere, and every way of closing creates the file
// with exactly the five keys the exit owns.
TEST_P(SettingsFirstStart, UsesDefaultsAndWritesOnlyTheExitKeys) {
  WorkingDirectory directory;
  ASSERT_FALSE(directory.settingsExist()) << "expected a fresh directory without quimbel.ini";
  Program program(directory);
  ASSERT_NO_FATAL_FAILURE(startAndTick(program));

  EXPECT_EQ(0, checkedUnit(program)) << "expected the Byte button (index 0) checked after the first tick";
  const std::vector<std::string> labels = unitLabels(program);
  EXPECT_TRUE(allAre(labels, "Byte")) << "expected all unit labels 'Byte', got " << describe(labels);
  EXPECT_FALSE(program.isChecked(IDC_ALWAYS_ON_TOP)) << "expected the always-on-top box unchecked";
  EXPECT_FALSE(program.isTopmost()) << "expected the window not topmost";

  const RECT window = program.windowRect();
  const POINT centred = centredCorner(window);
  EXPECT_NEAR(centred.x, window.left, 1) << "expected the window left where a new dialog is centred";
  EXPECT_NEAR(centred.y, window.top, 1) << "expected the window top where a new dialog is centred";

  // Picked but never saved: the unit-at-exit option is off by default.
  program.click(IDC_UNIT_KB);
  program.tick();

  ASSERT_NO_FATAL_FAILURE(closeAndWaitForExit(program, GetParam()));

  const std::string bytes = directory.readSettings();
  std::vector<std::string> actual;
  for (const IniEntry& entry : iniEntries(bytes)) {
    actual.push_back(entry.section + "/" + entry.key + "=" + entry.value);
  }
  std::vector<std::string> expected = {
      "GENERAL/AlwaysOnTop=0",
      "GENERAL/X=" + std::to_string(window.left),
      "GENERAL/Y=" + std::to_string(window.top),
      "MONITOR/X=500",
      "MONITOR/Y=400",
  };
  std::sort(actual.begin(), actual.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(expected, actual) << "file written after " << name(GetParam()) << ":\n" << bytes;
}

INSTANTIATE_TEST_SUITE_P(SettingsEveryWayOfClosing, SettingsFirstStart,
                         ::testing::Values(Close::ExitButton, Close::CloseBox, Close::FileExit,
                                           Close::Escape),
                         [](const ::testing::TestParamInfo<Close>& info) {
                           switch (info.param) {
                             case Close::ExitButton: return std::string("ExitButton");
                             case Close::CloseBox: return std::string("CloseBox");
                             case Close::FileExit: return std::string("FileExit");
                             case Close::Escape: return std::string("Escape");
                           }
                           return std::string("Unknown");
                         });

// ---- what the start-up takes from the file -------------------------------------

enum class Place { Centred, AtSaved };

struct StartupCase {
  const char* what;
  const char* file;  // null: no file at all
  int unit;          // checked unit button, -1 none
  const char* label;
  bool topmost;
  bool boxChecked;
  Place place;
  POINT saved;
};

const StartupCase kStartupCases[] = {
    {"no file: Byte, not topmost, centred", nullptr, 0, "Byte", false, false, Place::Centred, {0, 0}},
    {"UnitButton 1 is KB", "[GENERAL]\r\nUnitButton=1\r\n", 1, "KB", false, false, Place::Centred,
     {0, 0}},
    {"UnitButton 2 is MB", "[GENERAL]\r\nUnitButton=2\r\n", 2, "MB", false, false, Place::Centred,
     {0, 0}},
    {"UnitButton -1: no button, empty labels", "[GENERAL]\r\nUnitButton=-1\r\n", -1, "", false, false,
     Place::Centred, {0, 0}},
    {"UnitButton 3 is not range-checked: no button either", "[GENERAL]\r\nUnitButton=3\r\n", -1, "",
     false, false, Place::Centred, {0, 0}},
    {"AlwaysOnTop 1 off the screen: topmost, exactly there",
     "[GENERAL]\r\nAlwaysOnTop=1\r\nX=-2000\r\nY=-2000\r\n", 0, "Byte", true, true, Place::AtSaved,
     {-2000, -2000}},
    {"AlwaysOnTop 0: not topmost, moved", "[GENERAL]\r\nAlwaysOnTop=0\r\nX=10\r\nY=20\r\n", 0, "Byte",
     false, false, Place::AtSaved, {10, 20}},
    {"AlwaysOnTop 2 counts as on", "[GENERAL]\r\nAlwaysOnTop=2\r\nX=30\r\nY=40\r\n", 0, "Byte", true,
     true, Place::AtSaved, {30, 40}},
    {"AlwaysOnTop -1 (never saved): not moved", "[GENERAL]\r\nAlwaysOnTop=-1\r\nX=10\r\nY=20\r\n", 0,
     "Byte", false, false, Place::Centred, {0, 0}},
    {"X, Y without AlwaysOnTop: not moved", "[GENERAL]\r\nX=10\r\nY=20\r\n", 0, "Byte", false, false,
     Place::Centred, {0, 0}},
};

void PrintTo(const StartupCase& c, std::ostream* os) { *os << c.what; }

class SettingsStartup : public ::testing::TestWithParam<StartupCase> {};

TEST_P(SettingsStartup, ShowsWhatTheFileHolds) {
  const StartupCase& c = GetParam();
  SCOPED_TRACE(c.what);
  WorkingDirectory directory;
  if (c.file) directory.writeSettings(c.file);
  Program program(directory);
  ASSERT_NO_FATAL_FAILURE(startAndTick(program));
  program.tick();

  EXPECT_EQ(c.unit, checkedUnit(program)) << "checked unit button (index, -1 none, -2 several)";
  const std::vector<std::string> labels = unitLabels(program);
  EXPECT_TRUE(allAre(labels, c.label)) << "expected all unit labels '" << c.label << "', got "
                                       << describe(labels);
  EXPECT_EQ(c.topmost, program.isTopmost()) << "topmost (WS_EX_TOPMOST)";
  EXPECT_EQ(c.boxChecked, program.isChecked(IDC_ALWAYS_ON_TOP)) << "always-on-top box checked";

  const RECT window = program.windowRect();
  const POINT expected = c.place == Place::AtSaved ? c.saved : centredCorner(window);
  EXPECT_NEAR(expected.x, window.left, c.place == Place::AtSaved ? 0 : 1) << "window left";
  EXPECT_NEAR(expected.y, window.top, c.place == Place::AtSaved ? 0 : 1) << "window top";
  ASSERT_NO_FATAL_FAILURE(closeAndWaitForExit(program, Close::CloseBox));
}

INSTANTIATE_TEST_SUITE_P(SettingsHandWritten, SettingsStartup, ::testing::ValuesIn(kStartupCases));

struct BackgroundCase {
  const char* what;
  const char* file;  // null: no file at all
  COLORREF shown;
};

const BackgroundCase kBackgroundCases[] = {
    {"no file: white", nullptr, kWhite},
    {"MoniterColor -5: any negative value is white", "[GENERAL]\r\nMoniterColor=-5\r\n", kWhite},
    {"MoniterColor 0 is black, not the default", "[GENERAL]\r\nMoniterColor=0\r\n", kBlack},
    {"MoniterColor 255 is red (0x00BBGGRR)", "[GENERAL]\r\nMoniterColor=255\r\n", kRed},
};

void PrintTo(const BackgroundCase& c, std::ostream* os) { *os << c.what; }

class SettingsGraphBackground : public ::testing::TestWithParam<BackgroundCase> {};

TEST_P(SettingsGraphBackground, IsTheFilesColour) {
  const BackgroundCase& c = GetParam();
  SCOPED_TRACE(c.what);
  WorkingDirectory directory;
  if (c.file) directory.writeSettings(c.file);
  Program program(directory);
  ASSERT_NO_FATAL_FAILURE(startAndTick(program));

  // The graph is drawn at every tick, and a paint of the window can come
  // between a tick and the read, so a few ticks are given to show it.
  std::string samples;
  COLORREF shown = CLR_INVALID;
  e2e::waitFor(
      [&] {
        program.tick();
        shown = dominantGraphColour(program, samples);
        return shown == c.shown;
      },
      3000, 100);
  EXPECT_EQ(hex(c.shown), hex(shown)) << "graph background (control 1032) after ticks; samples: " << samples;
  ASSERT_NO_FATAL_FAILURE(closeAndWaitForExit(program, Close::CloseBox));
}

INSTANTIATE_TEST_SUITE_P(SettingsHandWritten, SettingsGraphBackground, ::testing::ValuesIn(kBackgroundCases));

// ---- what the exit writes ----------------------------------------------------------

struct Expectation {
  const char* section;
  const char* key;
  const char* value;  // null: the key must be absent
};

struct ExitCase {
  const char* what;
  const char* file;
  int clickUnit;  // unit button clicked before closing; 0 for none
  int ticks;      // ticks after the click; with none, click and close are posted back to back
  Close close;
  std::vector<Expectation> written;
  std::vector<std::string> keptLines;  // lines that must still be in the file as they were
};

const std::vector<ExitCase>& exitCases() {
  static const std::vector<ExitCase> cases = {
      {"UnitEnd 1: the unit read by the last tick is saved", "[GENERAL]\r\nUnitEnd=1\r\n",
       IDC_UNIT_KB, 1, Close::CloseBox, {{"GENERAL", "UnitButton", "1"}, {"GENERAL", "UnitEnd", "1"}},
       {}},
      {"UnitEnd 1, nothing picked: the unit read at start-up is saved",
       "[GENERAL]\r\nUnitEnd=1\r\nUnitButton=2\r\n", 0, 0, Close::FileExit,
       {{"GENERAL", "UnitButton", "2"}}, {}},
      {"UnitEnd 1: the close box does not read the buttons back",
       "[GENERAL]\r\nUnitEnd=1\r\nUnitButton=2\r\n", IDC_UNIT_KB, 0, Close::CloseBox,
       {{"GENERAL", "UnitButton", "2"}}, {}},
      {"UnitEnd 1: the Exit button does read them back",
       "[GENERAL]\r\nUnitEnd=1\r\nUnitButton=2\r\n", IDC_UNIT_KB, 0, Close::ExitButton,
       {{"GENERAL", "UnitButton", "1"}}, {}},
      {"UnitEnd 5: any non-zero value saves the unit", "[GENERAL]\r\nUnitEnd=5\r\n", IDC_UNIT_MB, 1,
       Close::CloseBox, {{"GENERAL", "UnitButton", "2"}, {"GENERAL", "UnitEnd", "5"}}, {}},
      {"UnitEnd 1 with no button checked: ticks read back -1, which is saved",
       "[GENERAL]\r\nUnitEnd=1\r\nUnitButton=-1\r\n", 0, 2, Close::CloseBox, {{"GENERAL", "UnitButton", "-1"}}, {}},
      {"UnitEnd 0: the file's unit is left as it was", "[GENERAL]\r\nUnitEnd=0\r\nUnitButton=2\r\n",
       IDC_UNIT_KB, 1, Close::ExitButton, {{"GENERAL", "UnitButton", "2"}}, {}},
      {"UnitEnd missing: no unit appears", "[GENERAL]\r\nAlwaysOnTop=0\r\nX=5\r\nY=6\r\n", IDC_UNIT_MB,
       1, Close::ExitButton, {{"GENERAL", "UnitButton", nullptr}, {"GENERAL", "UnitEnd", nullptr}},
       {}},
      {"the monitor position read is written back", "[MONITOR]\r\nX=123\r\nY=456\r\n", 0, 0,
       Close::CloseBox, {{"MONITOR", "X", "123"}, {"MONITOR", "Y", "456"}}, {}},
      {"a negative monitor position too", "[MONITOR]\r\nX=-50\r\nY=-7\r\n", 0, 0, Close::FileExit,
       {{"MONITOR", "X", "-50"}, {"MONITOR", "Y", "-7"}}, {}},
      {"the keys of the settings dialog are never written at exit",
       "[GENERAL]\r\nFaceDir=faces\r\nLineColor=255\r\nMoniterColor=0\r\nUnitEnd=0\r\n", 0, 0,
       Close::ExitButton,
       {{"GENERAL", "FaceDir", "faces"},
        {"GENERAL", "LineColor", "255"},
        {"GENERAL", "MoniterColor", "0"},
        {"GENERAL", "UnitEnd", "0"},
        {"GENERAL", "UnitButton", nullptr}},
       {}},
      {"other sections, keys and comments survive",
       "; written by hand\r\n[OTHER]\r\nKey=Value\r\n[GENERAL]\r\nCustom=abc\r\n; inside GENERAL\r\n"
       "[MONITOR]\r\nNote=keep me\r\n",
       0, 0, Close::CloseBox,
       {{"OTHER", "Key", "Value"},
        {"GENERAL", "Custom", "abc"},
        {"MONITOR", "Note", "keep me"},
        {"MONITOR", "X", "500"},
        {"GENERAL", "AlwaysOnTop", "0"}},
       {"; written by hand", "; inside GENERAL"}},
  };
  return cases;
}

void PrintTo(const ExitCase& c, std::ostream* os) { *os << c.what; }

class SettingsExit : public ::testing::TestWithParam<ExitCase> {};

TEST_P(SettingsExit, WritesItsKeysOnlyAndKeepsTheRest) {
  const ExitCase& c = GetParam();
  SCOPED_TRACE(c.what);
  WorkingDirectory directory;
  directory.writeSettings(c.file);
  Program program(directory);
  ASSERT_TRUE(program.started()) << "expected Quimbel.exe to start: " << e2e::quimbelExePath();
  ASSERT_TRUE(program.waitForStatusWindow()) << "expected the status window to come up";

  if (c.ticks > 0) {
    if (c.clickUnit != 0) program.click(c.clickUnit);
    program.tick(c.ticks);
  } else if (c.clickUnit != 0) {
    program.clickWithoutWaiting(c.clickUnit);
  }
  ASSERT_NO_FATAL_FAILURE(closeAndWaitForExit(program, c.close));

  const std::string bytes = directory.readSettings();
  const std::vector<IniEntry> entries = iniEntries(bytes);
  for (const Expectation& e : c.written) {
    const std::optional<std::string> expected =
        e.value ? std::optional<std::string>(e.value) : std::nullopt;
    EXPECT_EQ(describe(expected), describe(valueOf(entries, e.section, e.key)))
        << "[" << e.section << "] " << e.key << " after " << name(c.close) << "; file:\n"
        << bytes;
  }
  const std::vector<std::string> lines = fileLines(bytes);
  for (const std::string& kept : c.keptLines) {
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), kept))
        << "expected the line '" << kept << "' to survive; file:\n"
        << bytes;
  }
}

INSTANTIATE_TEST_SUITE_P(SettingsHandWritten, SettingsExit, ::testing::ValuesIn(exitCases()));

// ---- window position and always-on-top ------------------------------------------------

TEST(SettingsWindowPosition, AMovedWindowStoresItsNewCorner) {
  WorkingDirectory directory;
  directory.writeSettings("[GENERAL]\r\nAlwaysOnTop=0\r\nX=10\r\nY=20\r\n");
  Program program(directory);
  ASSERT_NO_FATAL_FAILURE(startAndTick(program));
  ASSERT_TRUE(program.moveTo(137, 59)) << "expected the window to move";
  program.sync();
  const RECT moved = program.windowRect();
  ASSERT_EQ(137, moved.left) << "window left after the move";
  ASSERT_EQ(59, moved.top) << "window top after the move";
  program.tick();

  ASSERT_NO_FATAL_FAILURE(closeAndWaitForExit(program, Close::CloseBox));
  const std::vector<IniEntry> entries = iniEntries(directory.readSettings());
  EXPECT_EQ(describe(std::optional<std::string>("137")), describe(valueOf(entries, "GENERAL", "X")));
  EXPECT_EQ(describe(std::optional<std::string>("59")), describe(valueOf(entries, "GENERAL", "Y")));
}

struct AlwaysOnTopCase {
  const char* what;
  const char* file;  // null: no file
  bool topmostBefore;
  const char* saved;  // AlwaysOnTop written at exit
};

const AlwaysOnTopCase kAlwaysOnTopCases[] = {
    {"off by default, the click puts it on top", nullptr, false, "1"},
    {"on from the file, the click takes it off", "[GENERAL]\r\nAlwaysOnTop=1\r\nX=50\r\nY=60\r\n", true,
     "0"},
};

void PrintTo(const AlwaysOnTopCase& c, std::ostream* os) { *os << c.what; }

class SettingsAlwaysOnTop : public ::testing::TestWithParam<AlwaysOnTopCase> {};

// The box acts at the click, not at the next tick, and the close box saves
// what the click read.
TEST_P(SettingsAlwaysOnTop, TheBoxActsAtOnceAndIsSaved) {
  const AlwaysOnTopCase& c = GetParam();
  SCOPED_TRACE(c.what);
  WorkingDirectory directory;
  if (c.file) directory.writeSettings(c.file);
  Program program(directory);
  ASSERT_TRUE(program.started()) << "expected Quimbel.exe to start: " << e2e::quimbelExePath();
  ASSERT_TRUE(program.waitForStatusWindow()) << "expected the status window to come up";
  ASSERT_EQ(c.topmostBefore, program.isTopmost()) << "topmost before the click";

  // The click is sent, so it has been handled when it returns; no tick
  // changes the window's z-order.
  program.click(IDC_ALWAYS_ON_TOP);
  EXPECT_EQ(!c.topmostBefore, program.isTopmost()) << "topmost right after the click";
  EXPECT_EQ(!c.topmostBefore, program.isChecked(IDC_ALWAYS_ON_TOP)) << "box after the click";

  ASSERT_NO_FATAL_FAILURE(closeAndWaitForExit(program, Close::CloseBox));
  const std::vector<IniEntry> entries = iniEntries(directory.readSettings());
  EXPECT_EQ(describe(std::optional<std::string>(c.saved)),
            describe(valueOf(entries, "GENERAL", "AlwaysOnTop")));
}

INSTANTIATE_TEST_SUITE_P(SettingsClicks, SettingsAlwaysOnTop, ::testing::ValuesIn(kAlwaysOnTopCases));

// ---- folder names the code page cannot spell ----------------------------------------

struct FolderNameCase {
  const char* what;
  const char* locale;  // the program's; "" for the session's Japanese one
  const wchar_t* name;
};

const FolderNameCase kFolderNameCases[] = {
    {"a Japanese name under an English code page", "C.UTF-8", L"-\u8a2d\u5b9a"},
    {"an e-acute under the Japanese code page", "", L"-Caf\u00e9"},
};

void PrintTo(const FolderNameCase& c, std::ostream* os) { *os << c.what; }

class SettingsFolderName : public ::testing::TestWithParam<FolderNameCase> {};

// The settings reach quimbel.ini in such a folder without a word, byte for
// byte as in a folder of plain letters, and come back at the next start.
TEST_P(SettingsFolderName, IsWrittenAsAnyFolderAndReadBack) {
  const FolderNameCase& c = GetParam();
  e2e::ScopedEnvironment language("QUIMBEL_PROGRAM_LANG", c.locale);
  WorkingDirectory plain;
  WorkingDirectory named(c.name);
  for (const WorkingDirectory* directory : {&plain, &named}) {
    Program program(*directory);
    ASSERT_NO_FATAL_FAILURE(startAndTick(program));
    program.click(IDC_ALWAYS_ON_TOP);
    // A message about unsaved settings would hold the process open.
    ASSERT_NO_FATAL_FAILURE(closeAndWaitForExit(program, Close::CloseBox));
  }
  ASSERT_NE("", plain.readSettings());
  EXPECT_EQ(plain.readSettings(), named.readSettings());

  Program again(named);
  ASSERT_NO_FATAL_FAILURE(startAndTick(again));
  EXPECT_TRUE(again.isTopmost()) << "AlwaysOnTop read back";
  EXPECT_EQ(nullptr, again.messageBox());
  ASSERT_NO_FATAL_FAILURE(closeAndWaitForExit(again, Close::CloseBox));
}

INSTANTIATE_TEST_SUITE_P(SettingsFolders, SettingsFolderName, ::testing::ValuesIn(kFolderNameCases));

// ---- unit labels ----------------------------------------------------------------------

// The labels are written by ticks only: blank until the first one, and a
// clicked unit shows at the next one, not at the click.
TEST(SettingsUnitLabels, ChangeOnlyAtATick) {
  // The real timer fires a second after the window is built. A read right
  // after start-up can still lose that race on a busy machine, so a fresh
  // start is tried a few times; labels filled at start-up fail every time.
  constexpr int kAttempts = 3;
  bool sawBlank = false;
  std::string seen;
  for (int attempt = 0; attempt < kAttempts && !sawBlank; ++attempt) {
    WorkingDirectory directory;
    Program program(directory);
    ASSERT_TRUE(program.started()) << "expected Quimbel.exe to start: " << e2e::quimbelExePath();
    ASSERT_TRUE(program.waitForStatusWindow()) << "expected the status window to come up";
    const std::vector<std::string> first = unitLabels(program);
    seen += "attempt " + std::to_string(attempt + 1) + ": " + describe(first) + "\n";
    if (!allAre(first, "")) {
      closeAndWaitForExit(program, Close::CloseBox);
      continue;
    }
    sawBlank = true;

    program.tick();
    const std::vector<std::string> afterTick = unitLabels(program);
    EXPECT_TRUE(allAre(afterTick, "Byte")) << "expected 'Byte' after the first tick, got "
                                           << describe(afterTick);

    // A tick rewrites every label, so a sentinel text in the last one shows
    // whether the real timer ran between the click and the read.
    bool undisturbed = false;
    for (int tries = 0; tries < kAttempts && !undisturbed; ++tries) {
      program.click(IDC_UNIT_BYTE);
      program.tick();
      const std::string totalBefore = program.controlText(IDC_PHYSICAL_TOTAL);
      ASSERT_TRUE(program.setControlText(IDC_VIRTUAL_FREE_UNIT, "?"));
      program.click(IDC_UNIT_MB);
      std::vector<std::string> afterClick = unitLabels(program);
      const std::string totalAfterClick = program.controlText(IDC_PHYSICAL_TOTAL);
      if (program.controlText(IDC_VIRTUAL_FREE_UNIT) != "?") continue;
      undisturbed = true;
      afterClick.pop_back();
      EXPECT_TRUE(allAre(afterClick, "Byte")) << "expected the labels unchanged by the click, got "
                                              << describe(afterClick);
      EXPECT_EQ(totalBefore, totalAfterClick) << "physical total right after the click";
      EXPECT_EQ(2, checkedUnit(program)) << "the clicked MB button";
    }
    ASSERT_TRUE(undisturbed) << "the real timer ran between click and read in every try";

    program.tick();
    const std::vector<std::string> afterNextTick = unitLabels(program);
    EXPECT_TRUE(allAre(afterNextTick, "MB")) << "expected 'MB' after the next tick, got "
                                             << describe(afterNextTick);
    closeAndWaitForExit(program, Close::CloseBox);
  }
  EXPECT_TRUE(sawBlank) << "expected blank unit labels before the first tick; read:\n" << seen;
}

// ---- files the program must survive ----------------------------------------------------

struct BadFile {
  const char* what;
  std::string content;
  bool readOnly;
  std::optional<POINT> placed;  // where the file puts the window, when it says
};

std::string junkBytes(std::size_t size, std::uint32_t seed) {
  std::string bytes;
  for (std::size_t i = 0; i < size; ++i) {
    seed = seed * 1664525u + 1013904223u;
    bytes += static_cast<char>(seed >> 24);
    // Sprinkle in what the parser looks for, so the junk reaches every branch.
    if (i % 97 == 0) bytes += "\r\n[GENERAL]\r\nX=";
    if (i % 131 == 0) bytes += std::string("\0=\n[", 4);
  }
  return bytes;
}

const std::vector<BadFile>& badFiles() {
  static const std::vector<BadFile> files = {
      {"garbage values",
       "[GENERAL]\r\nFaceDir=..\\..\\nowhere\r\nUnitButton=abc\r\nUnitEnd=--1\r\nLineColor=0x7fffffff99"
       "\r\nMoniterColor=99999999999999999999\r\nAlwaysOnTop=yes\r\nX=1e9\r\nY=-\r\n[MONITOR]\r\nX=@@\r\n"
       "Y=2147483648\r\n",
       false, std::nullopt},
      {"numbers far out of range",
       "[GENERAL]\r\nUnitButton=2147483647\r\nUnitEnd=-2147483648\r\nMoniterColor=2147483647\r\n"
       "AlwaysOnTop=7\r\nX=30000\r\nY=-30000\r\n[MONITOR]\r\nX=-2147483648\r\nY=2147483647\r\n",
       false, std::nullopt},
      {"empty values",
       "[GENERAL]\r\nFaceDir=\r\nUnitButton=\r\nUnitEnd=\r\nLineColor=\r\nMoniterColor=\r\n"
       "AlwaysOnTop=\r\nX=\r\nY=\r\n[MONITOR]\r\nX=\r\nY=\r\n[]\r\n=\r\n",
       false, std::nullopt},
      {"100 KB lines",
       "[GENERAL]\r\nFaceDir=" + std::string(100 * 1024, 'f') + "\r\n" + std::string(100 * 1024, 'x') +
           "\r\nUnitButton=1\r\n[" + std::string(100 * 1024, 's') + "]\r\nX=1\r\n",
       false, std::nullopt},
      {"binary junk", junkBytes(8192, 12345), false, std::nullopt},
      {"a UTF-16 byte-order mark before junk", "\xFF\xFE" + junkBytes(4095, 777), false, std::nullopt},
      {"a read-only, locked file: the exit's writes are lost, and the user told",
       "[GENERAL]\r\nAlwaysOnTop=0\r\nX=10\r\nY=20\r\nUnitEnd=1\r\n", true, POINT{10, 20}},
  };
  return files;
}

void PrintTo(const BadFile& c, std::ostream* os) { *os << c.what; }

class SettingsBadFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(SettingsBadFile, NeitherCrashesNorHangs) {
  const BadFile& c = GetParam();
  SCOPED_TRACE(c.what);
  WorkingDirectory directory;
  directory.writeSettings(c.content);
  std::optional<UnwritableFile> unwritable;
  if (c.readOnly) {
    unwritable.emplace(directory.settingsPath());
    ASSERT_TRUE(unwritable->refusesWriting()) << "expected the settings file to refuse writing";
  }

  Program program(directory);
  ASSERT_TRUE(program.started()) << "expected Quimbel.exe to start: " << e2e::quimbelExePath();
  ASSERT_TRUE(program.waitForStatusWindow()) << "expected the status window to come up";
  if (c.placed) {
    const RECT window = program.windowRect();
    EXPECT_EQ(c.placed->x, window.left) << "window left: the file must still be read";
    EXPECT_EQ(c.placed->y, window.top) << "window top: the file must still be read";
  }
  program.tick(3);
  EXPECT_FALSE(program.hasExited()) << "expected the program to run on after three ticks";
  EXPECT_TRUE(IsWindow(program.statusWindow())) << "expected the status window to be there";
  EXPECT_EQ(program.controlText(IDC_PHYSICAL_TOTAL_UNIT), program.controlText(IDC_VIRTUAL_FREE_UNIT))
      << "all unit labels come from one rule";

  if (c.readOnly) {
    ASSERT_NO_FATAL_FAILURE(closeThroughUnsavedMessage(program, Close::FileExit, directory.settingsPath()));
    EXPECT_EQ(c.content, directory.readSettings()) << "expected the unwritable file unchanged";
  } else {
    ASSERT_NO_FATAL_FAILURE(closeAndWaitForExit(program, Close::FileExit));
    EXPECT_TRUE(e2e::readSetting(directory.settingsPath(), "GENERAL", "AlwaysOnTop").present)
        << "expected the exit to write AlwaysOnTop despite the file's state";
  }
}

INSTANTIATE_TEST_SUITE_P(SettingsBrokenFiles, SettingsBadFile, ::testing::ValuesIn(badFiles()));

}  // namespace
