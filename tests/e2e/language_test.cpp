// The interface's language: Japanese on a Japanese system, English on any
// other, and either where the settings file asks for it, whatever the
// system's code page: the same texts in the same font. The windows'
// geometry follows from their font, so equal sizes mean the same font;
// read-only fields hold moving figures, so only their places count.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
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
    // An icon's text is the icon's resource number, no text.
    const bool icon = (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && lstrcmpiA(name, "Static") == 0;
    if (lstrcmpiA(name, "Edit") != 0 && !icon) out << " '" << Program::windowText(child) << "'";
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

// The captions a language gives the windows the test waits for.
struct Captions {
  const char* about;
  const char* monitor;
};
constexpr Captions kJapaneseCaptions{"Quimbelのバージョン情報", "QuimbelUtilityモニター"};
constexpr Captions kEnglishCaptions{"About Quimbel", "QuimbelUtility Monitor"};

// Every window of the program, opened the way a user opens it, in a
// locale and with a settings file as given.
std::string describeEveryWindow(const char* locale, const std::string& settings, const Captions& captions) {
  e2e::ScopedEnvironment language("QUIMBEL_PROGRAM_LANG", locale);
  WorkingDirectory directory;
  if (!settings.empty()) directory.writeSettings(settings);
  Program program(directory);
  if (!program.waitForStatusWindow()) return "no status window";
  std::string all = "status: " + describeWindow(program.statusWindow());

  program.menuCommand(ID_SETTINGS);
  if (HWND settingsDialog = program.waitForWindowWith(IDC_FACE_LIST)) {
    all += "settings: " + describeWindow(settingsDialog);
    Program::clickIn(settingsDialog, IDCANCEL);
  }
  program.menuCommand(ID_APP_ABOUT);
  if (HWND about = program.waitForWindowCaptioned(captions.about)) {
    all += "about: " + describeWindow(about);
    Program::clickIn(about, IDOK);
  }
  program.clickWithoutWaiting(IDC_MONITOR);
  if (HWND monitor = program.waitForWindowCaptioned(captions.monitor)) {
    all += "monitor: " + describeWindow(monitor);
    Program::clickIn(monitor, IDCANCEL);
  }
  program.menuCommand(ID_RELEASE_MEMORY);
  if (program.waitForMessageBox(kReleaseLimitMs)) {
    HWND box = program.messageBox();
    all += "message box: '" + Program::windowText(box) + "' '" + Program::messageBoxText(box) + "'\n";
    Program::clickIn(box, IDOK);
  }
  all += "uptime: '" + program.controlText(IDC_UPTIME) + "' free memory: '" +
         program.controlText(IDC_FREE_MEMORY_TEXT).substr(0, 12) + "'\n";
  program.menuCommand(ID_APP_EXIT);
  program.waitForExit();
  // The language is read from the file, never written to it.
  if (settings.empty() && directory.readSettings().find("Language") != std::string::npos) {
    all += "the settings file's Language key was written\n";
  }
  return all;
}

// The Language key overrides the system: under an English locale it gives
// every text exactly as a Japanese system shows it.
TEST(Language, JapaneseChosenInTheSettingsShowsUnderAnEnglishLocaleWhatAJapaneseOneShows) {
  const std::string japanese = describeEveryWindow("ja_JP.UTF-8", "", kJapaneseCaptions);
  const std::string chosen = describeEveryWindow("C.UTF-8", "[GENERAL]\r\nLanguage=ja\r\n", kJapaneseCaptions);
  ASSERT_NE(std::string::npos, japanese.find("'空きメモリ比率'")) << japanese;
  ASSERT_NE(std::string::npos, japanese.find("message box: 'Quimbel' '解放完了'")) << japanese;
  // Line by line, so a failure names the first window or control that differs.
  std::istringstream expected(japanese), actual(chosen);
  std::string want, got;
  for (int line = 1; std::getline(expected, want); ++line) {
    if (!std::getline(actual, got)) got = "<nothing>";
    if (want.rfind("uptime:", 0) == 0) continue;  // the clock moved on
    ASSERT_EQ(want, got) << "line " << line << " of what the windows show (expected: Japanese locale)";
  }
  EXPECT_FALSE(std::getline(actual, got)) << "more with Language=ja: " << got;
}

// An English system gets every window, menu and message in English.
TEST(Language, EnglishLocaleShowsEveryTextInEnglish) {
  const std::string english = describeEveryWindow("C.UTF-8", "", kEnglishCaptions);
  for (const char* expected : {"'Memory load'", "'&Always on top'", "about: 'About Quimbel'",
                               "message box: 'Quimbel' 'Memory released.'", " min ", "free memory: 'Free memory '"}) {
    EXPECT_NE(std::string::npos, english.find(expected)) << expected << " missing from:\n" << english;
  }
  for (std::size_t i = 0; i < english.size(); ++i) {
    ASSERT_LT(static_cast<unsigned char>(english[i]), 0x80u) << "not English at: " << english.substr(i, 40);
  }
}

// Windows 98 takes the texts through the narrow calls, in its code page:
// English there too, from the message at start to the refreshed fields.
TEST(Language, EnglishOnWindows98FromTheResourceMeterMessageOn) {
  e2e::WindowsVersionMode win98("win98");
  e2e::ScopedEnvironment language("QUIMBEL_PROGRAM_LANG", "C.UTF-8");
  WorkingDirectory directory;
  Program program(directory);
  ASSERT_TRUE(program.waitForMessageBox()) << "no message box about the Resource Meter";
  EXPECT_EQ("rsrc32.dll cannot be found.\nThis file is needed to show the resources.\nPlease install the Resource Meter.",
            Program::messageBoxText(program.messageBox()));
  Program::clickIn(program.messageBox(), IDOK);
  ASSERT_TRUE(program.waitForStatusWindow());
  EXPECT_EQ("&Always on top", program.controlText(IDC_ALWAYS_ON_TOP));
  program.tick();
  EXPECT_NE(std::string::npos, program.controlText(IDC_UPTIME).find(" min ")) << program.controlText(IDC_UPTIME);
}

// The message that settings could not be kept speaks English and names the file.
TEST(Language, UnsavedSettingsAreReportedInEnglish) {
  e2e::ScopedEnvironment language("QUIMBEL_PROGRAM_LANG", "C.UTF-8");
  WorkingDirectory directory;
  directory.writeSettings("[GENERAL]\r\nUnitButton=1\r\n");
  const e2e::ReadOnlyFolder readOnly(directory.path());
  if (!readOnly.made()) GTEST_SKIP() << readOnly.why();
  Program program(directory);
  ASSERT_TRUE(program.waitForStatusWindow());
  program.menuCommand(ID_APP_EXIT);
  const std::string message = program.answerMessageBox();
  EXPECT_EQ("The settings could not be saved.\n" + directory.settingsPath(), message);
  EXPECT_TRUE(program.waitForExit());
}

std::string textFitPath() {
  char self[MAX_PATH] = {};
  std::string path(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
  return path.erase(path.find_last_of('\\') + 1) + "text_fit.exe";
}

// Every label, button, check box, radio button and group box of every
// window shows its whole text, and every figure its widest one, in each
// language on a system of that language, at the DPIs Windows offers (100 %
// to 200 %).
TEST(Language, EveryTextIsWholeAtEveryDpi) {
  // The widest each read-only field shows: percentages, sizes up to 1 TiB
  // in Byte, an uptime of years and the summary of a TiB.
  std::string figures;
  for (int id : {IDC_CPU_LOAD, IDC_SYSTEM_RESOURCES, IDC_GDI_RESOURCES, IDC_USER_RESOURCES, IDC_MEMORY_LOAD,
                 IDC_FREE_MEMORY_PERCENT}) {
    figures += std::to_string(id) + " 100\n";
  }
  for (int id = IDC_PHYSICAL_TOTAL; id <= IDC_VIRTUAL_FREE; ++id) figures += std::to_string(id) + " 1099511627776\n";
  const struct {
    const char* locale;
    const char* languageId;
    const char* uptime;
    const char* summary;
  } languages[] = {
      {"ja_JP.UTF-8", "411", "99999時間 59分 59秒", "空きメモリ率 1048576 / 1048576 MB"},
      {"C.UTF-8", "409", "99999 h 59 min 59 s", "Free memory 1048576 / 1048576 MB"},
  };
  for (DWORD dpi : {96, 120, 144, 192}) {
    e2e::ScopedUserSetting screen("Control Panel\\Desktop", "LogPixels", dpi);  // read as a program starts
    for (const auto& language : languages) {
      SCOPED_TRACE(std::string(language.locale) + " at " + std::to_string(dpi) + " DPI");
      e2e::ScopedEnvironment locale("QUIMBEL_PROGRAM_LANG", language.locale);
      WorkingDirectory directory;
      std::ofstream(directory.path() + "\\fit-target.txt", std::ios::binary)
          << e2e::quimbelExePath() << "\n"
          << language.languageId << "\n"
          << figures << IDC_UPTIME << " " << language.uptime << "\n"
          << IDC_FREE_MEMORY_TEXT << " " << language.summary << "\n";
      Program measuring(directory, textFitPath());
      ASSERT_TRUE(measuring.waitForExit(30000)) << "text_fit.exe did not finish";
      std::ifstream result(directory.path() + "\\fit-result.txt");
      std::string line, cut;
      ASSERT_TRUE(std::getline(result, line) && line == "done") << "text_fit.exe wrote no result";
      while (std::getline(result, line)) cut += line + "\n";
      EXPECT_EQ("", cut) << "texts their controls cut";
    }
  }
}

}  // namespace
