// The program as Windows 98 sees it: the Resource Meter is missing, which
// is reported while the refresh already runs, and the CPU load is the
// kernel's statistic from the dynamic-data registry.
#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "tests/e2e/harness.h"

namespace {

using e2e::Program;
using e2e::WorkingDirectory;

constexpr const char* kStatData = "PerfStats\\StatData";
constexpr const char* kCpuUsage = "KERNEL\\CPUUsage";
constexpr const char* kResourceMeterMissing =
    "rsrc32.dllが見つかりません。\n"
    "このファイルはリソースを表示するのに必要なファイルです。\n"
    "リソースメーターをインストールして下さい。";
// Wine's Windows 98: 4.10, build 0x040A08AE (the version in the high word
// is printed with it) and the service-pack text " A ".
constexpr const char* kWin98VersionLine = "4.10 Build67766446  A ";
constexpr DWORD kTicksUnderBoxMs = 4000;

std::string processorNameOfThisMachine() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  // The processor is the same whatever version Wine reports; 8664 is what a
  // 64-bit program is told.
  if (info.dwProcessorType == 586) return "Intel Pentium";
  if (info.dwProcessorType == 8664) return "x64";
  return "UNKNOWN CPU (" + std::to_string(info.dwProcessorType) + ")";
}

// Leaves no CPU statistic behind for later runs.
class CpuUsageValue {
 public:
  ~CpuUsageValue() { e2e::deleteDynDataValue(kStatData, kCpuUsage); }
  bool set(std::uint32_t value) { return e2e::setDynDataValue(kStatData, kCpuUsage, value); }
};

TEST(SpineWin98, MissingResourceMeterIsReportedWhileTheRefreshRuns) {
  e2e::WindowsVersionMode win98("win98");
  WorkingDirectory directory;
  Program program(directory);
  ASSERT_TRUE(program.waitForMessageBox()) << "no message box about the Resource Meter";
  HWND box = program.messageBox();
  EXPECT_EQ("Quimbel", Program::windowText(box)) << "caption";
  EXPECT_EQ(kResourceMeterMissing, Program::messageBoxText(box));

  // The timer started before the box, and the box's loop runs its ticks:
  // the first one fills the unit labels.
  const int unitLabels[] = {IDC_PHYSICAL_TOTAL_UNIT, IDC_PHYSICAL_FREE_UNIT, IDC_PAGEFILE_TOTAL_UNIT,
                            IDC_PAGEFILE_FREE_UNIT,  IDC_VIRTUAL_TOTAL_UNIT, IDC_VIRTUAL_FREE_UNIT};
  EXPECT_TRUE(
      e2e::waitFor([&] { return program.controlText(IDC_PHYSICAL_TOTAL_UNIT) == "Byte"; }, kTicksUnderBoxMs))
      << "no tick under the box; label \"" << program.controlText(IDC_PHYSICAL_TOTAL_UNIT) << "\"";
  for (int id : unitLabels) EXPECT_EQ("Byte", program.controlText(id)) << "unit label " << id;
  // Each tick reads the controls back first: what the initialisation set
  // must already be on screen, or the ticks blank it out.
  EXPECT_EQ("Windows 98", program.controlText(IDC_OS_NAME));
  EXPECT_EQ(kWin98VersionLine, program.controlText(IDC_OS_VERSION));
  EXPECT_EQ(processorNameOfThisMachine(), program.controlText(IDC_CPU_NAME));
  EXPECT_EQ(box, program.messageBox()) << "the box stays until answered";

  Program::clickIn(box, IDOK);
  ASSERT_TRUE(program.waitForStatusWindow()) << "status window not shown after OK";
  EXPECT_TRUE(e2e::waitFor([&] { return program.messageBox() == nullptr; }, 5000));
  // It runs on: a tick puts back the unit label cleared here.
  ASSERT_TRUE(program.setControlText(IDC_PHYSICAL_TOTAL_UNIT, ""));
  program.tick();
  EXPECT_EQ("Byte", program.controlText(IDC_PHYSICAL_TOTAL_UNIT));
  // Without the library the resources read 0.
  for (int id : {IDC_SYSTEM_RESOURCES, IDC_GDI_RESOURCES, IDC_USER_RESOURCES}) {
    EXPECT_EQ("0", program.controlText(id)) << "resource edit " << id;
  }
  EXPECT_EQ("Windows 98", program.controlText(IDC_OS_NAME));
}

// One row per value of the kernel's statistic, in order: each must replace
// what the row before showed.
struct CpuUsageCase {
  std::uint32_t stored;
  const char* shown;
};

const CpuUsageCase kCpuUsageCases[] = {
    {37, "37"},        {101, "0"},  // above 100 is no measurement
    {100, "100"},                   // 100 itself is a measurement
    {0xFFFFFFFF, "0"},              // -1 as a signed value: below 0
    {0, "0"},          {1, "1"},
};

TEST(SpineWin98, CpuLoadIsTheKernelStatisticWithinZeroToHundred) {
  e2e::WindowsVersionMode win98("win98");
  CpuUsageValue cpuUsage;
  WorkingDirectory directory;
  Program program(directory);
  ASSERT_TRUE(program.waitForMessageBox());
  Program::clickIn(program.messageBox(), IDOK);
  ASSERT_TRUE(program.waitForStatusWindow());

  for (const CpuUsageCase& row : kCpuUsageCases) {
    SCOPED_TRACE("KERNEL\\CPUUsage = " + std::to_string(row.stored));
    ASSERT_TRUE(cpuUsage.set(row.stored)) << "cannot write HKEY_DYN_DATA";
    program.tick();
    EXPECT_EQ(row.shown, program.controlText(IDC_CPU_LOAD));
  }
}

TEST(SpineWin98, LibraryPlantedInWorkingDirectoryIsNotLoaded) {
  // A real, loadable library, so only where the program looks decides.
  char self[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string planted(self, length);
  planted.erase(planted.find_last_of('\\') + 1);
  planted += "planted_rsrc32.dll";
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(planted.c_str())) << planted;
  HMODULE loadable = LoadLibraryA(planted.c_str());
  ASSERT_TRUE(loadable != nullptr) << "the planted library itself must load";
  const bool exported = GetProcAddress(loadable, "_MyGetFreeSystemResources32@4") != nullptr;
  FreeLibrary(loadable);
  ASSERT_TRUE(exported) << "the planted library must offer the export the program looks up";

  e2e::WindowsVersionMode win98("win98");
  WorkingDirectory directory;
  ASSERT_TRUE(CopyFileA(planted.c_str(), (directory.path() + "\\RSRC32.dll").c_str(), FALSE));
  Program program(directory);
  ASSERT_TRUE(program.waitForMessageBox())
      << "no report of the missing Resource Meter: the copy in the working directory was loaded"
      << " (system resources show \"" << program.controlText(IDC_SYSTEM_RESOURCES) << "\", its figure is 77)";
  EXPECT_EQ(kResourceMeterMissing, Program::messageBoxText(program.messageBox()));
}

}  // namespace
