// A current directory so long that "\quimbel.ini" no longer fits a classic
// path: the program must run and end normally, reading defaults and writing
// nothing, rather than overrunning its path or writing a file of a cut name,
// and say at exit that the settings were not saved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/harness.h"

namespace {

using e2e::Program;
using e2e::WorkingDirectory;

// Creates nested directories under `base` until the path is exactly
// `length` characters long; returns the path, or "" if that failed.
std::string makeDirectoryOfLength(const std::string& base, std::size_t length) {
  std::string path = base;
  while (path.size() < length) {
    std::size_t room = length - path.size() - 1;  // one for the backslash
    std::size_t part = room > 60 ? 60 : room;
    if (room > 60 && room - 60 < 2) part = room - 2;  // leave room for a last part
    path += "\\" + std::string(part, 'd');
    if (!CreateDirectoryA(path.c_str(), nullptr)) return "";
  }
  return path.size() == length ? path : "";
}

std::vector<std::string> entriesOf(const std::string& directory) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

struct LongDirectoryCase {
  const char* what;
  std::size_t directoryLength;
  bool settingsWritten;
};

class SettingsLongDirectory : public testing::TestWithParam<LongDirectoryCase> {};

TEST_P(SettingsLongDirectory, RunsAndWritesOnlyAWholePath) {
  const LongDirectoryCase& c = GetParam();
  WorkingDirectory base;
  const std::string directory = makeDirectoryOfLength(base.path(), c.directoryLength);
  ASSERT_FALSE(directory.empty()) << "could not make a directory of " << c.directoryLength << " characters";

  Program program(directory);
  ASSERT_TRUE(program.waitForStatusWindow()) << c.what;
  EXPECT_EQ(nullptr, program.messageBox()) << c.what;
  program.tick(3);
  // Defaults were read: the Byte unit is shown after the ticks.
  EXPECT_TRUE(program.isChecked(IDC_UNIT_BYTE)) << c.what;
  EXPECT_EQ("Byte", program.controlText(IDC_PHYSICAL_TOTAL_UNIT)) << c.what;
  program.menuCommand(ID_APP_EXIT);
  if (!c.settingsWritten) {
    const std::string message = program.answerMessageBox();
    EXPECT_NE(std::string::npos, message.find(directory + "\\quimbel.ini"))
        << c.what << ": the settings not saved must be said, naming the file; said '" << message << "'";
  }
  ASSERT_TRUE(program.waitForExit()) << c.what;
  EXPECT_EQ(0u, program.exitCode()) << c.what;

  const std::vector<std::string> entries = entriesOf(directory);
  if (c.settingsWritten) {
    ASSERT_EQ(1u, entries.size()) << c.what;
    EXPECT_EQ("quimbel.ini", entries[0]) << c.what;
    EXPECT_EQ("500", e2e::readSetting(directory + "\\quimbel.ini", "MONITOR", "X").text) << c.what;
  } else {
    EXPECT_TRUE(entries.empty()) << c.what << ": found " << (entries.empty() ? "" : entries[0]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    SettingsPaths, SettingsLongDirectory,
    testing::Values(
        // 247 + "\quimbel.ini" = 259 characters: still a classic path.
        LongDirectoryCase{"directory of 247 characters", 247, true},
        // 248 + 12 = 260: one too many for the terminator.
        LongDirectoryCase{"directory of 248 characters", 248, false},
        LongDirectoryCase{"directory of 255 characters", 255, false}));

}  // namespace
