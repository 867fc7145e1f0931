#include <gtest/gtest.h>
#include <windows.h>

#include "probes/system_identity.h"
#include "tools/shell_links.h"

namespace {

struct OsRow {
  std::uint32_t platformId;
  std::uint32_t major;
  std::uint32_t minor;
  const char* name;
  std::int32_t kind;
  bool helpPage;  // Help opens the page rather than the help file
};

TEST(IdentifyOs, NameKindAndHelpAtEveryBoundaryOfTheVersionTable) {
  const OsRow rows[] = {
      {2, 4, 0, "WindowsNT", kPlatformNt, false},
      {2, 3, 51, "WindowsNT", kPlatformNt, false},
      {2, 4, 99, "WindowsNT", kPlatformNt, false},  // 4.99 is still below 5.0
      {2, 5, 0, "WindowsXP", kPlatformNt, false},   // 5.0 itself is XP
      {2, 5, 2, "WindowsXP", kPlatformNt, false},   // XP x64, the last with a help viewer
      {2, 6, 0, "WindowsXP", kPlatformNt, true},    // Vista: the page
      {2, 10, 0, "WindowsXP", kPlatformNt, true},
      {1, 3, 95, "Windows 95", kPlatform9x, false},
      {1, 4, 0, "Windows 95", kPlatform9x, false},  // 4.0 itself is 95
      {1, 4, 3, "Windows 98", kPlatform9x, false},  // minor 3 counts as 4.03
      {1, 4, 10, "Windows 98", kPlatform9x, false},
      {1, 4, 89, "Windows 98", kPlatform9x, false},
      {1, 4, 90, "Windows Me", kPlatform9x, false},  // exactly the double 4.9
      {1, 6, 0, "Windows Me", kPlatform9x, false},   // the page is the NT family's only
      {0, 3, 10, "Windows3.1上のWin32s", kPlatform9x, false},  // version not tested
      {0, 6, 0, "Windows3.1上のWin32s", kPlatform9x, false},
      {3, 4, 0, "不明なOS", kPlatformUnidentified, false},
      {0xFFFFFFFFu, 6, 0, "不明なOS", kPlatformUnidentified, false},
  };
  for (const OsRow& row : rows) {
    OsVersionRecord record;
    record.platformId = row.platformId;
    record.majorVersion = row.major;
    record.minorVersion = row.minor;
    const OsIdentity identity = identifyOs(record);
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
  const char* servicePack;
  const char* line;
};

TEST(IdentifyOs, VersionLineFormat) {
  const VersionLineRow rows[] = {
      // Minor 3 prints as 3, not 03; an empty service pack leaves the blank.
      {1, 4, 3, 950, "", "4.3 Build950 "},
      // The 9x build carries the version in its high word, printed whole.
      {1, 4, 10, 0x040A08AEu, " A ", "4.10 Build67766446  A "},
      {2, 5, 1, 2600, "Service Pack 3", "5.1 Build2600 Service Pack 3"},
      {2, 4, 0, 1381, "サービス パック 6", "4.0 Build1381 サービス パック 6"},
      // The numbers print as signed decimals.
      {2, 5, 0, 0x80000000u, "", "5.0 Build-2147483648 "},
      {3, 0xFFFFFFFFu, 0, 0xFFFFFFFFu, "", "-1.0 Build-1 "},
  };
  for (const VersionLineRow& row : rows) {
    OsVersionRecord record;
    record.platformId = row.platformId;
    record.majorVersion = row.major;
    record.minorVersion = row.minor;
    record.buildNumber = row.build;
    record.servicePack = row.servicePack;
    EXPECT_EQ(row.line, identifyOs(record).versionLine) << "build " << row.build;
  }
}

TEST(ProcessorName, NamesKnownTypesAndPrintsOthersSigned) {
  const struct {
    std::uint32_t type;
    bool program64Bit;
    const char* name;
  } rows[] = {
      {386, false, "386"},
      {486, false, "486"},
      {586, false, "Intel Pentium"},
      {586, true, "Intel Pentium"},
      {4000, false, "MIPS"},
      {21064, false, "ALPHA"},
      {585, false, "UNKNOWN CPU (585)"},
      {587, false, "UNKNOWN CPU (587)"},
      {2200, false, "UNKNOWN CPU (2200)"},
      {8664, false, "UNKNOWN CPU (8664)"},  // the 32-bit table as it always was
      {8664, true, "x64"},                  // what a 64-bit build is told on x64
      {8663, true, "UNKNOWN CPU (8663)"},
      {0, false, "UNKNOWN CPU (0)"},
      {0xFFFFFFFFu, false, "UNKNOWN CPU (-1)"},
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
  EXPECT_EQ(std::string(info.szCSDVersion), record.servicePack);
  EXPECT_NE(0u, record.majorVersion);
}

}  // namespace
