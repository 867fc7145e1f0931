// Every way of closing the status window ends the program and saves the
// settings kept at exit; the other system commands leave it running.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "res/resource.h"
#include "tests/e2e/harness.h"

namespace {

using e2e::Program;
using e2e::WorkingDirectory;

struct ClosingWay {
  const char* name;
  std::function<void(const Program&)> close;
};

const ClosingWay kClosingWays[] = {
    {"File > Exit", [](const Program& p) { p.menuCommand(ID_APP_EXIT); }},  // via the application object
    {"Exit button", [](const Program& p) { p.click(IDOK); }},
    {"Enter key", [](const Program& p) { p.pressKey(VK_RETURN); }},  // the default button
    {"Esc key", [](const Program& p) { p.pressKey(VK_ESCAPE); }},
    {"close box", [](const Program& p) { p.sysCommand(SC_CLOSE); }},  // default handling turns it into Cancel
    {"hidden Cancel button", [](const Program& p) { p.click(IDCANCEL); }},
};

TEST(SpineClosing, CancelButtonIsHiddenAndExitButtonShown) {
  WorkingDirectory directory;
  Program program(directory);
  ASSERT_TRUE(program.waitForStatusWindow());
  EXPECT_FALSE(program.isVisible(IDCANCEL)) << "the Cancel button only receives Esc and the close box";
  EXPECT_TRUE(program.isVisible(IDOK));
}

TEST(SpineClosing, EveryWayOfClosingEndsTheProgramAndSavesTheSettingsKeptAtExit) {
  int row = 0;
  for (const ClosingWay& way : kClosingWays) {
    SCOPED_TRACE(way.name);
    WorkingDirectory directory;
    Program program(directory);
    ASSERT_TRUE(program.waitForStatusWindow());
    // A place of its own for each row, so the saved position is this run's.
    const int x = 40 + 10 * row;
    const int y = 30 + 5 * row;
    ++row;
    ASSERT_TRUE(program.moveTo(x, y));
    program.tick();
    EXPECT_FALSE(directory.settingsExist()) << "the settings are written at exit, not before";

    way.close(program);
    ASSERT_TRUE(program.waitForExit()) << "still running after " << way.name;

    ASSERT_TRUE(directory.settingsExist()) << "no " << directory.settingsPath();
    struct Expected {
      const char* section;
      const char* key;
      std::string value;
    };
    const Expected saved[] = {
        {"GENERAL", "AlwaysOnTop", "0"},  // no saved state yet reads as not topmost
        {"GENERAL", "X", std::to_string(x)},
        {"GENERAL", "Y", std::to_string(y)},
        {"MONITOR", "X", "500"},
        {"MONITOR", "Y", "400"},
    };
    for (const Expected& key : saved) {
      const e2e::SettingValue value = e2e::readSetting(directory.settingsPath(), key.section, key.key);
      EXPECT_TRUE(value.present) << key.section << " " << key.key << " missing; file:\n"
                                 << directory.readSettings();
      EXPECT_EQ(key.value, value.text) << key.section << " " << key.key;
    }
    // The unit is saved only when the unit-at-exit option is on.
    EXPECT_FALSE(e2e::readSetting(directory.settingsPath(), "GENERAL", "UnitButton").present)
        << "file:\n"
        << directory.readSettings();
  }
}

TEST(SpineSystemCommands, MinimiseAndRestoreKeepTheProgramRunning) {
  WorkingDirectory directory;
  Program program(directory);
  ASSERT_TRUE(program.waitForStatusWindow());
  HWND window = program.statusWindow();
  // Wine drops a minimise that arrives while the new window is still being
  // mapped; by the first real tick it has settled.
  ASSERT_TRUE(e2e::waitFor([&] { return program.controlText(IDC_PHYSICAL_TOTAL_UNIT) == "Byte"; }, 5000));

  program.sysCommand(SC_MINIMIZE);
  EXPECT_TRUE(e2e::waitFor([&] { return IsIconic(window) != 0; }, 5000)) << "not minimised";
  program.sysCommand(SC_RESTORE);
  EXPECT_TRUE(e2e::waitFor([&] { return IsIconic(window) == 0 && IsWindowVisible(window); }, 5000))
      << "not restored";

  // Still ticking: a tick puts back the unit label cleared here.
  ASSERT_TRUE(program.setControlText(IDC_PHYSICAL_TOTAL_UNIT, ""));
  program.tick();
  EXPECT_EQ("Byte", program.controlText(IDC_PHYSICAL_TOTAL_UNIT));
  EXPECT_FALSE(program.hasExited());
  EXPECT_EQ(nullptr, program.messageBox());
  EXPECT_FALSE(directory.settingsExist()) << "minimising is no way of closing";
}

}  // namespace
