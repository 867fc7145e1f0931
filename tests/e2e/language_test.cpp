// The Japanese interface under a code page without Japanese: the program
// started in an English locale (code page 1252) shows every window with the
// very texts, and in the very font, it shows in the Japanese locale. The
// windows' geometry follows from their font, so equal sizes mean the same
// font; read-only fields hold moving figures, so only their places count.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "res/resource.h"
#include "tests/e2e/harness.h"

namespace {

using e2e::Program;
using e2e::WorkingDirectory;

constexpr DWORD kReleaseLimitMs = 60000;

std::string describeRect(const RECT& r) {
  return std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

// A window and its controls in template order: class, id, text, size.
std::string describeWindow(HWND window) {
  std::ostringstream out;
  RECT outer{};
  GetWindowRect(window, &outer);
  out << "'" << Program::windowText(window) << "' " << describeRect(outer) << "\n";
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    RECT area{};
    GetWindowRect(child, &area);
    out << "  " << name << " " << GetDlgCtrlID(child) << " " << describeRect(area);
    if (lstrcmpiA(name, "Edit") != 0) out << " '" << Program::windowText(child) << "'";
    if (lstrcmpiA(name, "ListBox") == 0) {
      const LRESULT count = SendMessageW(child, LB_GETCOUNT, 0, 0);
      for (LRESULT i = 0; i < count; ++i) {
        wchar_t entry[512] = {};
        SendMessageW(child, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
        char bytes[1024] = {};
        WideCharToMultiByte(932, 0, entry, -1, bytes, sizeof bytes, nullptr, nullptr);
        out << " [" << bytes << "]";
      }
    }
    out << "\n";
  }
  return out.str();
}

// Every window of the program, opened the way a user opens it.
std::string describeEveryWindow(const char* locale) {
  e2e::ScopedEnvironment language("QUIMBEL_PROGRAM_LANG", locale);
  WorkingDirectory directory;
  Program program(directory);
  if (!program.waitForStatusWindow()) return "no status window";
  std::string all = "status: " + describeWindow(program.statusWindow());

  program.menuCommand(ID_SETTINGS);
  if (HWND settings = program.waitForWindowWith(IDC_FACE_LIST)) {
    all += "settings: " + describeWindow(settings);
    Program::clickIn(settings, IDCANCEL);
  }
  program.menuCommand(ID_APP_ABOUT);
  if (HWND about = program.waitForWindowCaptioned("Quimbelのバージョン情報")) {
    all += "about: " + describeWindow(about);
    Program::clickIn(about, IDOK);
  }
  program.clickWithoutWaiting(IDC_MONITOR);
  if (HWND monitor = program.waitForWindowCaptioned("QuimbelUtilityモニター")) {
    all += "monitor: " + describeWindow(monitor);
    Program::clickIn(monitor, IDCANCEL);
  }
  program.menuCommand(ID_RELEASE_MEMORY);
  if (program.waitForMessageBox(kReleaseLimitMs)) {
    HWND box = program.messageBox();
    all += "message box: '" + Program::windowText(box) + "' '" + Program::messageBoxText(box) + "'\n";
    Program::clickIn(box, IDOK);
  }
  program.menuCommand(ID_APP_EXIT);
  program.waitForExit();
  return all;
}

TEST(Language, EveryWindowShowsTheSameJapaneseInTheSameFontUnderAnEnglishCodePage) {
  const std::string japanese = describeEveryWindow("ja_JP.UTF-8");
  const std::string english = describeEveryWindow("C.UTF-8");
  ASSERT_NE(std::string::npos, japanese.find("'空きメモリ比率'")) << japanese;
  ASSERT_NE(std::string::npos, japanese.find("message box: 'Quimbel' '解放完了'")) << japanese;
  // Line by line, so a failure names the first window or control that differs.
  std::istringstream expected(japanese), actual(english);
  std::string want, got;
  for (int line = 1; std::getline(expected, want); ++line) {
    if (!std::getline(actual, got)) got = "<nothing>";
    ASSERT_EQ(want, got) << "line " << line << " of what the windows show (expected: Japanese locale)";
  }
  EXPECT_FALSE(std::getline(actual, got)) << "more under the English locale: " << got;
}

}  // namespace
