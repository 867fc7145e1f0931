#include <gtest/gtest.h>
#include <windows.h>

#include "framework/platform_text.h"
#include "probes/system_identity.h"
#include "tools/shell_links.h"

namespace {

struct OsRow {
  std::uint32_t platformId;
  std::uint32_t major;
  std::uint32_t minor;
  const wchar_t* name;
  std::int32_t kind;
  bool helpPage;  // Help opens the page rather than the help file
};

TEST(IdentifyOs, NameKindAndHelpAtEveryBoundaryOfTheVersionTable) {
  const OsRow rows[] = {
      {2, 4, 0, L"WindowsNT", kPlatformNt, false},
      {2, 3, 51, L"WindowsNT", kPlatformNt, false},
      {2, 4, 99, L"WindowsNT", kPlatformNt, false},  // 4.99 is still below 5.0
      {2, 5, 0, L"WindowsXP", kPlatformNt, false},   // 5.0 itself is XP
      {2, 5, 2, L"WindowsXP", kPlatformNt, false},   // XP x64, the last with a help viewer
      {2, 6, 0, L"WindowsXP", kPlatformNt, true},    // Vista: the page
      {2, 10, 0, L"WindowsXP", kPlatformNt, true},
      {1, 3, 95, L"Windows 95", kPlatform9x, false},
      {1, 4, 0, L"Windows 95", kPlatform9x, false},  // 4.0 itself is 95
      {1, 4, 3, L"Windows 98", kPlatform9x, false},  // minor 3 counts as 4.03
      {1, 4, 10, L"Windows 98", kPlatform9x, false},
      {1, 4, 89, L"Windows 98", kPlatform9x, false},
      {1, 4, 90, L"Windows Me", kPlatform9x, false},  // exactly the double 4.9
      {1, 6, 0, L"Windows Me", kPlatform9x, false},   // the page is the NT family's only
      {0, 3, 10, L"Windows3.1上のWin32s", kPlatform9x, false},  // version not tested
      {0, 6, 0, L"Windows3.1上のWin32s", kPlatform9x, false},
      {3, 4, 0, L"不明なOS", kPlatformUnidentified, false},
      {0xFFFFFFFFu, 6, 0, L"不明なOS", kPlatformUnidentified, false},
  };
  for (const OsRow& row : rows) {
    OsVersionRecord record;
    record.platformId = row.platformId;
    record.majorVersion = row.major;
    record.minorVersion = row.minor;
    const OsIdentity identity = identifyOs(record, {L"Windows3.1上のWin32s", L"不明なOS"});
    EXPECT_EQ(row.name, identity.name)
        << "platform " << row.platformId << " version " << row.major << "." << row.minor;
    EXPECT_EQ(row.kind, identity.platformKind)
        << "platform " << row.platformId << " version " << row.major << "." << row.minor;
    EXPECT_EQ(row.helpPage, helpFor(record) == HelpChoice::kPage)
        << "platform " << row.platformId << " version " << row.major << "." << row.minor;
  }
}

struct VersionLineRow {
  std::uint32_t platformId;
  std::uint32_t major;
  std::uint32_t minor;
  std::uint32_t build;
  const wchar_t* servicePack;
  const wchar_t* line;
};

TEST(IdentifyOs, VersionLineFormat) {
  const VersionLineRow rows[] = {
      // Minor 3 prints as 3, not 03; an empty service pack leaves the blank.
      {1, 4, 3, 950, L"", L"4.3 Build950 "},
      // The 9x build carries the version in its high word, printed whole.
      {1, 4, 10, 0x040A08AEu, L" A ", L"4.10 Build67766446  A "},
      {2, 5, 1, 2600, L"Service Pack 3", L"5.1 Build2600 Service Pack 3"},
      {2, 4, 0, 1381, L"サービス パック 6", L"4.0 Build1381 サービス パック 6"},
      // The numbers print as signed decimals.
      {2, 5, 0, 0x80000000u, L"", L"5.0 Build-2147483648 "},
      {3, 0xFFFFFFFFu, 0, 0xFFFFFFFFu, L"", L"-1.0 Build-1 "},
  };
  for (const VersionLineRow& row : rows) {
    OsVersionRecord record;
    record.platformId = row.platformId;
    record.majorVersion = row.major;
    record.minorVersion = row.minor;
    record.buildNumber = row.build;
    record.servicePack = row.servicePack;
    EXPECT_EQ(row.line, identifyOs(record, {}).versionLine) << "build " << row.build;
  }
}

TEST(ProcessorName, NamesKnownTypesAndPrintsOthersSigned) {
  const struct {
    std::uint32_t type;
    bool program64Bit;
    const wchar_t* name;
  } rows[] = {
      {386, false, L"386"},
      {486, false, L"486"},
      {586, false, L"Intel Pentium"},
      {586, true, L"Intel Pentium"},
      {4000, false, L"MIPS"},
      {21064, false, L"ALPHA"},
      {585, false, L"UNKNOWN CPU (585)"},
      {587, false, L"UNKNOWN CPU (587)"},
      {2200, false, L"UNKNOWN CPU (2200)"},
      {8664, false, L"UNKNOWN CPU (8664)"},  // the 32-bit table as it always was
      {8664, true, L"x64"},                  // what a 64-bit build is told on x64
      {8663, true, L"UNKNOWN CPU (8663)"},
      {0, false, L"UNKNOWN CPU (0)"},
      {0xFFFFFFFFu, false, L"UNKNOWN CPU (-1)"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.name, processorName(row.type, row.program64Bit))
        << "type " << row.type << (row.program64Bit ? ", 64-bit program" : ", 32-bit program");
  }
}

// The record reader must hand over what GetVersionExA reports; a wrong size
// field makes the call fail and leaves everything zero.
TEST(ReadOsVersionRecord, MatchesThePlatformRecord) {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExA(&info));
  const OsVersionRecord record = readOsVersionRecord();
  EXPECT_EQ(info.dwMajorVersion, record.majorVersion);
  EXPECT_EQ(info.dwMinorVersion, record.minorVersion);
  EXPECT_EQ(info.dwBuildNumber, record.buildNumber);
  EXPECT_EQ(info.dwPlatformId, record.platformId);
  EXPECT_EQ(fw::fromCodePage(CP_ACP, info.szCSDVersion), record.servicePack);
  EXPECT_NE(0u, record.majorVersion);
}

}  // namespace
