// End-to-end tests of the memory and resource readouts: the figures the
// status window shows against the memory record the platform gives this
// process, the time since the system started, and the free resources with
// and without the Resource Meter library.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/harness.h"
#include "tests/stand_in/stand_in_rsrc32.h"

namespace {

using e2e::InstalledResourceMeter;
using e2e::Program;
using e2e::ScopedEnvironment;
using e2e::WorkingDirectory;
using e2e::fileExists;
using e2e::systemResourceMeterPath;

constexpr std::uint32_t kMiB = 1u << 20;
constexpr DWORD kExitTimeoutMs = 15000;
constexpr DWORD kSendTimeoutMs = 5000;

constexpr int kUnitLabels[] = {IDC_PHYSICAL_TOTAL_UNIT, IDC_PHYSICAL_FREE_UNIT,
                               IDC_PAGEFILE_TOTAL_UNIT, IDC_PAGEFILE_FREE_UNIT,
                               IDC_VIRTUAL_TOTAL_UNIT,  IDC_VIRTUAL_FREE_UNIT};

// This process's memory record, from the extended call: the true figures,
// which the program must show too.
MEMORYSTATUSEX memoryStatus() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatusEx(&status);
  return status;
}

int progressPosition(const Program& program, int id) {
  DWORD_PTR position = 0;
  if (!SendMessageTimeoutA(program.control(id), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &position)) {
    return -1;
  }
  return static_cast<int>(position);
}

// Digits only: a figure shown with a sign or in any other form does not parse.
bool parseUnsigned(const std::string& text, std::uint64_t& value) {
  if (text.empty() || text.size() > 19) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return true;
}

void startProgram(Program& program) {
  ASSERT_TRUE(program.started()) << "expected Quimbel.exe to start: " << e2e::quimbelExePath();
  ASSERT_TRUE(program.waitForStatusWindow()) << "expected the status window to come up";
}

void closeProgram(const Program& program) {
  program.menuCommand(ID_APP_EXIT);
  EXPECT_TRUE(program.waitForExit(kExitTimeoutMs)) << "expected the process to end after File > Exit";
}

// ---- the memory record of the program and of this process --------------------

// What the platform's GlobalMemoryStatus looks at in a program's image: the
// large-address flag and a pre-4.0 subsystem both change the figures.
struct ImageTraits {
  bool largeAddressAware = false;
  bool oldSubsystem = false;
};

std::string describe(const std::optional<ImageTraits>& traits) {
  if (!traits) return "(unreadable)";
  return std::string("large-address-aware=") + (traits->largeAddressAware ? "yes" : "no") +
         " pre-4.0=" + (traits->oldSubsystem ? "yes" : "no");
}

std::optional<ImageTraits> traitsOfHeaders(const std::string& headers) {
  IMAGE_DOS_HEADER dos{};
  if (headers.size() < sizeof dos) return std::nullopt;
  std::memcpy(&dos, headers.data(), sizeof dos);
  if (dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < 0) return std::nullopt;
  const std::size_t offset = static_cast<std::size_t>(dos.e_lfanew);
  IMAGE_NT_HEADERS32 nt{};
  if (offset + sizeof nt > headers.size()) return std::nullopt;
  std::memcpy(&nt, headers.data() + offset, sizeof nt);
  if (nt.Signature != IMAGE_NT_SIGNATURE) return std::nullopt;
  ImageTraits traits;
  traits.largeAddressAware = (nt.FileHeader.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE) != 0;
  traits.oldSubsystem =
      nt.OptionalHeader.MajorSubsystemVersion < 4 || nt.OptionalHeader.MajorOperatingSystemVersion < 4;
  return traits;
}

constexpr std::size_t kHeaderBytes = 4096;

std::optional<ImageTraits> traitsOfFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string headers(kHeaderBytes, '\0');
  file.read(&headers[0], static_cast<std::streamsize>(headers.size()));
  headers.resize(static_cast<std::size_t>(file.gcount()));
  return traitsOfHeaders(headers);
}

std::optional<ImageTraits> traitsOfThisProcess() {
  const char* image = reinterpret_cast<const char*>(GetModuleHandleA(nullptr));
  return traitsOfHeaders(std::string(image, kHeaderBytes));
}

bool sameTraits(const std::optional<ImageTraits>& a, const std::optional<ImageTraits>& b) {
  return a && b && a->largeAddressAware == b->largeAddressAware && a->oldSubsystem == b->oldSubsystem;
}

// ---- figures ----------------------------------------------------------------------

struct Unit {
  const char* label;
  int button;
  unsigned shift;
};

// Byte last, so every unit is reached from another one.
const Unit kUnits[] = {{"KB", IDC_UNIT_KB, 10}, {"MB", IDC_UNIT_MB, 20}, {"Byte", IDC_UNIT_BYTE, 0}};

struct Figure {
  int edit;
  const char* what;
  DWORDLONG MEMORYSTATUSEX::*field;
  // Totals do not move and must match exactly; available amounts move with
  // the machine, and the free address space differs a little between two
  // processes.
  std::uint64_t toleranceBytes;
};

const Figure kFigures[] = {
    {IDC_PHYSICAL_TOTAL, "physical total (ullTotalPhys)", &MEMORYSTATUSEX::ullTotalPhys, 0},
    {IDC_PHYSICAL_FREE, "physical free (ullAvailPhys)", &MEMORYSTATUSEX::ullAvailPhys, 256 * kMiB},
    {IDC_PAGEFILE_TOTAL, "page file total (ullTotalPageFile)", &MEMORYSTATUSEX::ullTotalPageFile, 0},
    {IDC_PAGEFILE_FREE, "page file free (ullAvailPageFile)", &MEMORYSTATUSEX::ullAvailPageFile, 256 * kMiB},
    {IDC_VIRTUAL_TOTAL, "address space total (ullTotalVirtual)", &MEMORYSTATUSEX::ullTotalVirtual, 0},
    {IDC_VIRTUAL_FREE, "address space free (ullAvailVirtual)", &MEMORYSTATUSEX::ullAvailVirtual, 256 * kMiB},
};

TEST(MemoryFigures, FollowTheUnitAndThePlatformRecord) {
  const std::optional<ImageTraits> program = traitsOfFile(e2e::quimbelExePath());
  const std::optional<ImageTraits> self = traitsOfThisProcess();
  ASSERT_TRUE(sameTraits(program, self))
      << "this process's memory record is a yardstick only if both images agree; Quimbel.exe: "
      << describe(program) << ", test: " << describe(self);

  WorkingDirectory directory;
  Program quimbel(directory);
  ASSERT_NO_FATAL_FAILURE(startProgram(quimbel));

  bool sawHighFigure = false;
  for (const Unit& unit : kUnits) {
    SCOPED_TRACE(std::string("unit ") + unit.label);
    quimbel.click(unit.button);
    const MEMORYSTATUSEX before = memoryStatus();
    quimbel.tick();
    std::vector<std::string> shown;
    for (const Figure& figure : kFigures) shown.push_back(quimbel.controlText(figure.edit));
    const MEMORYSTATUSEX after = memoryStatus();

    for (int label : kUnitLabels) {
      EXPECT_EQ(unit.label, quimbel.controlText(label)) << "unit label " << label;
    }
    for (std::size_t i = 0; i < std::size(kFigures); ++i) {
      const Figure& figure = kFigures[i];
      const std::uint64_t early = before.*figure.field;
      const std::uint64_t late = after.*figure.field;
      if (unit.shift == 0 && std::max(early, late) > 0xFFFFFFFFu) sawHighFigure = true;
      std::uint64_t value = 0;
      if (!parseUnsigned(shown[i], value)) {
        ADD_FAILURE() << figure.what << ": expected an unsigned decimal near " << (early >> unit.shift)
                      << ", got '" << shown[i] << "'";
        continue;
      }
      if (figure.toleranceBytes == 0) {
        EXPECT_EQ(std::to_string(early >> unit.shift), shown[i])
            << figure.what << " (record " << early << " bytes before the tick, " << late << " after)";
        continue;
      }
      const std::uint64_t low = std::min(early, late) > figure.toleranceBytes
                                    ? std::min(early, late) - figure.toleranceBytes
                                    : 0;
      const std::uint64_t high = std::max(early, late) + figure.toleranceBytes;
      EXPECT_TRUE(value >= (low >> unit.shift) && value <= (high >> unit.shift))
          << figure.what << ": expected " << (low >> unit.shift) << ".." << (high >> unit.shift)
          << " (record " << early << " and " << late << " bytes), got " << shown[i];
    }
  }
  if (!sawHighFigure) {
    std::printf("note: no memory figure here goes beyond 32 bits; the wide figures went unchecked\n");
  }
  closeProgram(quimbel);
}

// Every field shows its widest text whole, in the program's font: sizes up
// to 1 TiB (13 digits in Byte) and the sizes this machine has, the summary
// of a TiB, and an uptime of years. Measured against the edit's text area.
TEST(MemoryFigures, EveryFigureFitsItsFieldUpToATebibyte) {
  WorkingDirectory directory;
  Program quimbel(directory);
  ASSERT_NO_FATAL_FAILURE(startProgram(quimbel));
  const MEMORYSTATUSEX here = memoryStatus();
  struct Field {
    int edit;
    std::wstring widest;
  };
  std::vector<Field> fields = {{IDC_FREE_MEMORY_TEXT, L"空きメモリ率 1048576 / 1048576 MB"},
                               {IDC_UPTIME, L"99999時間 59分 59秒"},
                               {IDC_FREE_MEMORY_PERCENT, L"100"}};
  for (const Figure& figure : kFigures) {
    fields.push_back({figure.edit, std::to_wstring(std::max<std::uint64_t>(here.*figure.field, 1ull << 40))});
  }
  // The dialog font as the dialog manager makes it from the template.
  HDC screen = GetDC(nullptr);
  HFONT font = CreateFontW(-MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                           FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0, L"ＭＳ Ｐゴシック");
  HGDIOBJ previous = SelectObject(screen, font);
  for (const Field& field : fields) {
    SIZE extent{};
    GetTextExtentPoint32W(screen, field.widest.c_str(), static_cast<int>(field.widest.size()), &extent);
    RECT client{};
    GetClientRect(quimbel.control(field.edit), &client);
    const auto margins = static_cast<DWORD>(SendMessageW(quimbel.control(field.edit), EM_GETMARGINS, 0, 0));
    const LONG room = client.right - LOWORD(margins) - HIWORD(margins);
    EXPECT_LE(extent.cx, room) << "edit " << field.edit << ": " << extent.cx << " pixels of text for " << room
                               << " pixels of room";
  }
  SelectObject(screen, previous);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  closeProgram(quimbel);
}

std::uint32_t freePercentOf(const MEMORYSTATUSEX& status) {
  if (status.ullTotalPhys == 0) return 0;
  return static_cast<std::uint32_t>(static_cast<double>(status.ullAvailPhys) /
                                    static_cast<double>(status.ullTotalPhys) * 100.0);
}

TEST(MemoryFigures, LoadAndFreeShareFollowThePlatformRecord) {
  WorkingDirectory directory;
  Program quimbel(directory);
  ASSERT_NO_FATAL_FAILURE(startProgram(quimbel));

  const MEMORYSTATUSEX before = memoryStatus();
  quimbel.tick();
  const std::string load = quimbel.controlText(IDC_MEMORY_LOAD);
  const std::string percent = quimbel.controlText(IDC_FREE_MEMORY_PERCENT);
  const std::string text = quimbel.controlText(IDC_FREE_MEMORY_TEXT);
  const int bar = progressPosition(quimbel, IDC_FREE_MEMORY_BAR);
  const MEMORYSTATUSEX after = memoryStatus();

  // The load is shown as the platform gives it, not as 100 minus it.
  constexpr std::uint64_t kLoadSlack = 5;
  const std::uint64_t loadLow = std::min(before.dwMemoryLoad, after.dwMemoryLoad);
  const std::uint64_t loadHigh = std::max(before.dwMemoryLoad, after.dwMemoryLoad);
  std::uint64_t loadShown = 0;
  EXPECT_TRUE(parseUnsigned(load, loadShown) && loadShown + kLoadSlack >= loadLow &&
              loadShown <= loadHigh + kLoadSlack)
      << "memory load: expected " << loadLow << ".." << loadHigh << " within " << kLoadSlack
      << ", got '" << load << "'";

  const std::uint64_t shareLow = std::min(freePercentOf(before), freePercentOf(after));
  const std::uint64_t shareHigh = std::max(freePercentOf(before), freePercentOf(after));
  std::uint64_t shareShown = 0;
  EXPECT_TRUE(parseUnsigned(percent, shareShown) && shareShown + 1 >= shareLow &&
              shareShown <= shareHigh + 1)
      << "free share (avail*100/total): expected " << shareLow << ".." << shareHigh
      << " within 1, got '" << percent << "'";
  EXPECT_EQ(percent, std::to_string(bar)) << "the free-memory bar's position against edit 1022";

  int freeMb = -1;
  int totalMb = -1;
  const int fields = std::sscanf(text.c_str(), "空きメモリ率 %d / %d MB", &freeMb, &totalMb);
  ASSERT_EQ(2, fields) << "free-memory text: expected '空きメモリ率 <free> / <total> MB', got '" << text
                       << "'";
  char rebuilt[64];
  std::snprintf(rebuilt, sizeof rebuilt, "空きメモリ率 %d / %d MB", freeMb, totalMb);
  EXPECT_EQ(std::string(rebuilt), text) << "free-memory text layout";
  EXPECT_EQ(static_cast<int>(before.ullTotalPhys >> 20), totalMb) << "total MB in the free-memory text";
  const std::uint64_t slack = 256 * kMiB;
  const std::uint64_t leastFree = std::min(before.ullAvailPhys, after.ullAvailPhys);
  const std::uint64_t freeLow = (leastFree > slack ? leastFree - slack : 0) >> 20;
  const std::uint64_t freeHigh = (std::max(before.ullAvailPhys, after.ullAvailPhys) + slack) >> 20;
  EXPECT_TRUE(freeMb >= 0 && static_cast<std::uint64_t>(freeMb) >= freeLow &&
              static_cast<std::uint64_t>(freeMb) <= freeHigh)
      << "free MB in the free-memory text: expected " << freeLow << ".." << freeHigh << ", got " << freeMb;
  closeProgram(quimbel);
}

// ---- uptime ------------------------------------------------------------------------

// The uptime text for a number of whole seconds, by the display rule.
std::string uptimeText(std::uint32_t seconds) {
  char text[64];
  const std::uint32_t hours = seconds / 3600;
  if (hours > 0) {
    std::snprintf(text, sizeof text, "%u時間 %2u分 %2u秒", hours, seconds / 60 % 60, seconds % 60);
  } else {
    std::snprintf(text, sizeof text, "%2u分 %2u秒", seconds / 60 % 60, seconds % 60);
  }
  return text;
}

// The system's milliseconds since start, which do not wrap after 49.7 days.
ULONGLONG systemUptimeMs() {
  using TickCount64 = ULONGLONG(WINAPI*)();
  static const auto tickCount64 = reinterpret_cast<TickCount64>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount64")));
  return tickCount64();
}

TEST(MemoryUptime, FollowsTheSystemTickCount) {
  WorkingDirectory directory;
  Program quimbel(directory);
  ASSERT_NO_FATAL_FAILURE(startProgram(quimbel));

  // A couple of seconds either side allow for the read and the tick.
  constexpr std::uint32_t kSlackSeconds = 2;
  const auto before = static_cast<std::uint32_t>(systemUptimeMs() / 1000);
  quimbel.tick();
  const std::string shown = quimbel.controlText(IDC_UPTIME);
  const auto after = static_cast<std::uint32_t>(systemUptimeMs() / 1000);

  std::string candidates;
  bool matched = false;
  for (std::uint32_t s = before > kSlackSeconds ? before - kSlackSeconds : 0; s <= after + kSlackSeconds;
       ++s) {
    candidates += "'" + uptimeText(s) + "' ";
    if (uptimeText(s) == shown) matched = true;
  }
  EXPECT_TRUE(matched) << "uptime: expected one of " << candidates << "got '" << shown << "'";
  closeProgram(quimbel);
}

// ---- free resources -----------------------------------------------------------------

constexpr int kResourceEdits[] = {IDC_SYSTEM_RESOURCES, IDC_GDI_RESOURCES, IDC_USER_RESOURCES};
constexpr int kResourceBars[] = {IDC_SYSTEM_RESOURCE_BAR, IDC_GDI_RESOURCE_BAR, IDC_USER_RESOURCE_BAR};
constexpr const char* kResourceNames[] = {"system", "GDI", "user"};

constexpr const char* kResourceMeterMissing =
    "rsrc32.dllが見つかりません。\n"
    "このファイルはリソースを表示するのに必要なファイルです。\n"
    "リソースメーターをインストールして下さい。";

void expectResources(const Program& program, const int (&expected)[3], bool bars) {
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(std::to_string(expected[i]), program.controlText(kResourceEdits[i]))
        << kResourceNames[i] << " resources, edit " << kResourceEdits[i];
    if (bars) {
      EXPECT_EQ(expected[i], progressPosition(program, kResourceBars[i]))
          << kResourceNames[i] << " resources, bar " << kResourceBars[i];
    }
  }
}

std::string applicationName() {
  std::string name = e2e::quimbelExePath();
  const std::size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

// The status window is shown only after its initialisation, and a message
// box of the initialisation comes first: wait for whichever appears.
bool waitForWindowOrMessageBox(const Program& program) {
  return e2e::waitFor(
      [&] {
        HWND window = program.statusWindow();
        return program.messageBox() != nullptr || (window && IsWindowVisible(window));
      },
      15000);
}

std::vector<std::string> logLines(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

// The call log at a moment when no refresh is half-way through its calls.
std::vector<std::string> settledLog(const std::string& path) {
  std::vector<std::string> lines;
  e2e::waitFor(
      [&] {
        lines = logLines(path);
        return lines.size() % 3 == 0;
      },
      3000, 5);
  return lines;
}

std::string joined(const std::vector<std::string>& lines, std::size_t from = 0) {
  std::string text;
  for (std::size_t i = from; i < lines.size(); ++i) text += lines[i] + " ";
  return text;
}

struct ResourceCase {
  const char* what;
  const char* windowsVersion;  // "" is Wine's default, an NT-family version
  bool standIn;
  bool missingMessage;
  int shown;
};

const ResourceCase kResourceCases[] = {
    {"NT family: 100 without any library", "", false, false, 100},
    {"NT family: 100 even with the library there, which is not called", "winxp", true, false, 100},
    {"Windows 98 without the library: the message, then 0", "win98", false, true, 0},
    {"Windows 95 likewise", "win95", false, true, 0},
};

void PrintTo(const ResourceCase& c, std::ostream* os) { *os << c.what; }

class MemoryResources : public ::testing::TestWithParam<ResourceCase> {};

TEST_P(MemoryResources, ShowTheFamilysRule) {
  const ResourceCase& c = GetParam();
  SCOPED_TRACE(c.what);
  WorkingDirectory directory;
  const std::string log = directory.path() + "\\rsrc32-calls.txt";
  ScopedEnvironment logVariable(stand_in::kLogVariable, log);
  std::optional<InstalledResourceMeter> meter;
  if (c.standIn) {
    meter.emplace();
    ASSERT_TRUE(meter->installed()) << "expected the stand-in copied to " << meter->path() << " from '"
                                    << e2e::standInResourceMeterPath() << "'";
  } else {
    ASSERT_FALSE(fileExists(systemResourceMeterPath()))
        << "expected no Resource Meter at " << systemResourceMeterPath();
  }
  e2e::WindowsVersionMode version(c.windowsVersion);
  Program quimbel(directory);
  ASSERT_TRUE(quimbel.started()) << "expected Quimbel.exe to start: " << e2e::quimbelExePath();
  ASSERT_TRUE(waitForWindowOrMessageBox(quimbel)) << "expected the status window or a message box";

  HWND box = quimbel.messageBox();
  if (c.missingMessage) {
    ASSERT_NE(nullptr, box) << "expected the missing-library message box";
    EXPECT_EQ(applicationName(), Program::windowText(box)) << "message box caption";
    EXPECT_EQ(kResourceMeterMissing, Program::messageBoxText(box)) << "message box text";
    Program::clickIn(box, IDOK);
  } else if (box) {
    ADD_FAILURE() << "expected no message box, got '" << Program::messageBoxText(box) << "'";
    Program::clickIn(box, IDOK);
  }
  ASSERT_TRUE(quimbel.waitForStatusWindow()) << "expected the status window once the box is gone";
  quimbel.tick();

  const int expected[3] = {c.shown, c.shown, c.shown};
  expectResources(quimbel, expected, true);
  if (c.standIn) {
    EXPECT_EQ("", joined(logLines(log))) << "calls into the library on the NT family";
  }
  closeProgram(quimbel);
}

INSTANTIATE_TEST_SUITE_P(MemoryFamilies, MemoryResources, ::testing::ValuesIn(kResourceCases));

struct Answers {
  const char* what;
  int values[3];
  bool withinBarRange;
};

const Answers kAnswerSets[] = {
    {"each resource from its own call", {11, 22, 33}, true},
    {"new answers show at the next tick", {44, 55, 66}, true},
    {"answers are shown as given, without a range test", {150, -5, 0}, false},
};

void writeAnswers(const std::string& path, const int (&values)[3]) {
  std::ofstream control(path, std::ios::binary | std::ios::trunc);
  for (int value : values) control << value << "\r\n";
}

TEST(MemoryResourceMeter, NineXShowsItsAnswersCallingOncePerTickInOrder) {
  WorkingDirectory directory;
  const std::string log = directory.path() + "\\rsrc32-calls.txt";
  const std::string answers = directory.path() + "\\rsrc32-answers.txt";
  writeAnswers(answers, kAnswerSets[0].values);
  ScopedEnvironment logVariable(stand_in::kLogVariable, log);
  ScopedEnvironment controlVariable(stand_in::kControlVariable, answers);
  InstalledResourceMeter meter;
  ASSERT_TRUE(meter.installed()) << "expected the stand-in copied to " << meter.path() << " from '"
                                 << e2e::standInResourceMeterPath() << "'";
  e2e::WindowsVersionMode version("win98");
  Program quimbel(directory);
  ASSERT_TRUE(quimbel.started()) << "expected Quimbel.exe to start: " << e2e::quimbelExePath();
  ASSERT_TRUE(waitForWindowOrMessageBox(quimbel)) << "expected the status window to come up";
  if (HWND box = quimbel.messageBox()) {
    ADD_FAILURE() << "expected no message box with the library installed, got '"
                  << Program::messageBoxText(box) << "'";
    Program::clickIn(box, IDOK);
  }
  ASSERT_TRUE(quimbel.waitForStatusWindow()) << "expected the status window to come up";

  for (const Answers& set : kAnswerSets) {
    SCOPED_TRACE(set.what);
    writeAnswers(answers, set.values);
    quimbel.tick();
    expectResources(quimbel, set.values, set.withinBarRange);
  }

  // Real ticks may add to the ones sent, never fewer and at most one a second.
  constexpr int kTicks = 5;
  const std::vector<std::string> before = settledLog(log);
  const DWORD start = GetTickCount();
  quimbel.tick(kTicks);
  const std::vector<std::string> after = settledLog(log);
  const DWORD elapsedMs = GetTickCount() - start;
  ASSERT_GE(after.size(), before.size()) << "the call log shrank";
  const std::size_t calls = after.size() - before.size();
  const std::size_t mostTicks = kTicks + elapsedMs / 1000 + 1;
  EXPECT_TRUE(calls % 3 == 0 && calls >= 3 * kTicks && calls <= 3 * mostTicks)
      << "calls during " << kTicks << " sent ticks (" << elapsedMs << " ms): expected 3 per tick, "
      << 3 * kTicks << ".." << 3 * mostTicks << ", got " << calls << ": " << joined(after, before.size());

  std::string expectedOrder;
  for (std::size_t i = 0; i < after.size(); ++i) expectedOrder += std::to_string(i % 3) + " ";
  EXPECT_EQ(expectedOrder, joined(after)) << "the whole call log: 0 (system), 1 (GDI), 2 (user) per refresh";
  closeProgram(quimbel);
}

}  // namespace
