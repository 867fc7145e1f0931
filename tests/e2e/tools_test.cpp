// The status window's tools end to end: the memory release, the About box
// from both of its routes, and the files handed to the shell.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/harness.h"

namespace {

using e2e::Program;
using e2e::WorkingDirectory;

constexpr DWORD kReleaseLimitMs = 120000;
constexpr const char* kAboutCaption = "Quimbelのバージョン情報";

TEST(ToolsMemoryRelease, MenuCommandRunsToCompletionAndSaysSoCaptionedWithTheProgramName) {
  WorkingDirectory directory;
  Program program(directory);
  ASSERT_TRUE(program.waitForStatusWindow());
  program.menuCommand(ID_RELEASE_MEMORY);
  ASSERT_TRUE(program.waitForMessageBox(kReleaseLimitMs));
  HWND box = program.messageBox();
  EXPECT_EQ("解放完了", Program::messageBoxText(box));
  EXPECT_EQ("Quimbel", Program::windowText(box));

  Program::clickIn(box, IDOK);
  EXPECT_TRUE(e2e::waitFor([&] { return program.messageBox() == nullptr; }));
  EXPECT_FALSE(program.hasExited());
}

// The About box's controls in template order: class and text.
std::string describeChildren(HWND dialog) {
  std::ostringstream out;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    out << name << ":";
    if (std::string(name) == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      out << (SendMessageA(child, STM_GETICON, 0, 0) ? "<icon>" : "<no icon>");
    } else {
      out << Program::windowText(child);
    }
    out << "\n";
  }
  return out.str();
}

struct AboutRoute {
  const char* name;
  std::function<void(const Program&)> open;
};

TEST(ToolsAbout, OpensFromTheHelpMenuAndTheSystemMenuOverTheTickingStatusWindow) {
  const AboutRoute routes[] = {
      {"Help menu", [](const Program& p) { p.menuCommand(ID_APP_ABOUT); }},
      {"system menu item", [](const Program& p) { p.sysCommand(IDM_ABOUT_SYSCOMMAND); }},
      {"system command 31", [](const Program& p) { p.sysCommand(31); }},  // low four bits ignored
  };
  WorkingDirectory directory;
  Program program(directory);
  ASSERT_TRUE(program.waitForStatusWindow());
  for (const AboutRoute& route : routes) {
    SCOPED_TRACE(route.name);
    route.open(program);
    ASSERT_TRUE(e2e::waitFor([&] { return program.topLevelWindow(kAboutCaption) != nullptr; }));
    HWND about = program.topLevelWindow(kAboutCaption);
    EXPECT_EQ(
        "Static:<icon>\n"
        "Static:QuimbelUtility Version 3.0\n"
        "Static:パソコンの負荷をひと目で\n"
        "Button:OK\n",
        describeChildren(about));
    EXPECT_FALSE(IsWindowEnabled(program.statusWindow())) << "modal over the status window";

    // The status window's own timer puts back a unit label cleared here.
    ASSERT_TRUE(program.setControlText(IDC_PHYSICAL_TOTAL_UNIT, ""));
    EXPECT_TRUE(e2e::waitFor([&] { return program.controlText(IDC_PHYSICAL_TOTAL_UNIT) == "Byte"; }, 5000))
        << "no tick under the About box";

    Program::clickIn(about, IDOK);
    EXPECT_TRUE(e2e::waitFor([&] { return !IsWindow(about) && IsWindowEnabled(program.statusWindow()); }));
  }
}

TEST(ToolsAbout, NeighbouringSystemCommandsOpenNothing) {
  WorkingDirectory directory;
  Program program(directory);
  ASSERT_TRUE(program.waitForStatusWindow());
  program.sysCommand(15);
  program.sysCommand(32);
  program.sync();
  EXPECT_EQ(nullptr, program.topLevelWindow(kAboutCaption));
  EXPECT_TRUE(IsWindowEnabled(program.statusWindow()));
  EXPECT_FALSE(program.hasExited());
}

// Points a file type at the recorder for the life of the object, or with no
// recorder at a type with no program, then puts back what the type was
// associated with before (other tests of this prefix rely on the real
// associations).
class RecordedFileType {
 public:
  RecordedFileType(const std::string& extension, const std::string& recorder, const std::string& log)
      : extension_(extension), progId_("QuimbelTest.Recorder" + extension) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, extension_.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                        &key, &disposition) != ERROR_SUCCESS) {
      return;
    }
    keyExisted_ = disposition == REG_OPENED_EXISTING_KEY;
    char previous[256] = {};
    DWORD size = sizeof previous - 1;
    DWORD type = 0;
    hadValue_ = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(previous), &size) ==
                    ERROR_SUCCESS &&
                type == REG_SZ;
    if (hadValue_) previous_ = previous;
    setDefault(key, progId_);
    RegCloseKey(key);
    if (!recorder.empty() &&
        RegCreateKeyExA(HKEY_CLASSES_ROOT, (progId_ + "\\shell\\open\\command").c_str(), 0, nullptr, 0,
                        KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
      setDefault(key, "\"" + recorder + "\" \"" + log + "\" \"%1\"");
      RegCloseKey(key);
    }
  }

  ~RecordedFileType() {
    for (const char* tail : {"\\shell\\open\\command", "\\shell\\open", "\\shell", ""}) {
      RegDeleteKeyA(HKEY_CLASSES_ROOT, (progId_ + tail).c_str());
    }
    if (!keyExisted_) {
      RegDeleteKeyA(HKEY_CLASSES_ROOT, extension_.c_str());
      return;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, extension_.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
    if (hadValue_) {
      setDefault(key, previous_);
    } else {
      RegDeleteValueA(key, nullptr);
    }
    RegCloseKey(key);
  }

  RecordedFileType(const RecordedFileType&) = delete;
  RecordedFileType& operator=(const RecordedFileType&) = delete;

 private:
  static void setDefault(HKEY key, const std::string& value) {
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  }

  std::string extension_;
  std::string progId_;
  bool keyExisted_ = false;
  bool hadValue_ = false;
  std::string previous_;
};

std::string recorderPath() {
  char self[MAX_PATH] = {};
  std::string path(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
  return path.erase(path.find_last_of('\\') + 1) + "shell_recorder.exe";
}

void createEmptyFile(const std::string& path) {
  std::ofstream file(path, std::ios::binary);
}

// The recorder's log: the file it was handed and its current directory.
struct OpenedFile {
  std::string file;
  std::string directory;
};

// Waits until the recorder has written both lines, then removes the log.
bool waitForLog(const std::string& log, OpenedFile& opened) {
  const bool written = e2e::waitFor([&] {
    std::ifstream in(log);
    return std::getline(in, opened.file) && std::getline(in, opened.directory);
  });
  DeleteFileA(log.c_str());
  return written;
}

bool samePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

struct ShellRoute {
  const char* name;
  std::function<void(const Program&)> run;
  bool hlpHasProgram;
  const char* file;
};

// Every way of asking for help makes the same choice: the help file before
// Vista (the page where nothing opens it), the page from Vista on, where
// the help file's program is a stand-in that only says it cannot show it.
TEST(ToolsShell, HelpAndFacesPageAreHandedToTheShellByNameFromTheWorkingDirectory) {
  const std::string recorder = recorderPath();
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(recorder.c_str())) << recorder;
  WorkingDirectory logs;
  const std::string hlpLog = logs.path() + "\\hlp.log";
  const std::string htmlLog = logs.path() + "\\html.log";
  RecordedFileType page(".html", recorder, htmlLog);

  WorkingDirectory directory;
  for (const char* file :
       {"quimbel.hlp", "quimbel_help.html", "faces.html", "quimbel_en.hlp", "quimbel_help_en.html", "faces_en.html"}) {
    createEmptyFile(directory.path() + "\\" + file);
  }
  const auto helpButton = [](const Program& p) { p.click(ID_HELP); };
  const auto helpContents = [](const Program& p) { p.menuCommand(ID_HELP); };
  const auto helpKey = [](const Program& p) { p.pressKey(VK_F1); };
  const struct {
    const char* windowsVersion;
    const char* locale;
    std::vector<ShellRoute> routes;
  } systems[] = {
      {"winxp",
       "ja_JP.UTF-8",
       {{"Help button", helpButton, true, "quimbel.hlp"},
        {"Help menu contents", helpContents, true, "quimbel.hlp"},
        {"F1", helpKey, true, "quimbel.hlp"},
        {"Get faces", [](const Program& p) { p.menuCommand(ID_GET_FACES); }, true, "faces.html"},
        // Where nothing opens the help file, the same help as a page.
        {"Help button, no program for .hlp", helpButton, false, "quimbel_help.html"},
        {"Help menu contents, no program for .hlp", helpContents, false, "quimbel_help.html"},
        {"F1, no program for .hlp", helpKey, false, "quimbel_help.html"}}},
      {"win7",
       "ja_JP.UTF-8",
       {{"Help button", helpButton, true, "quimbel_help.html"},
        {"Help menu contents", helpContents, true, "quimbel_help.html"},
        {"F1", helpKey, true, "quimbel_help.html"}}},
      // An English system gets the English help and faces page.
      {"winxp",
       "C.UTF-8",
       {{"Help button", helpButton, true, "quimbel_en.hlp"},
        {"Get faces", [](const Program& p) { p.menuCommand(ID_GET_FACES); }, true, "faces_en.html"},
        {"F1, no program for .hlp", helpKey, false, "quimbel_help_en.html"}}},
      {"win7", "C.UTF-8", {{"Help button", helpButton, true, "quimbel_help_en.html"}}},
  };
  for (const auto& system : systems) {
    e2e::WindowsVersionMode mode(system.windowsVersion);
    e2e::ScopedEnvironment language("QUIMBEL_PROGRAM_LANG", system.locale);
    Program program(directory);
    ASSERT_TRUE(program.waitForStatusWindow()) << system.windowsVersion;
    for (const ShellRoute& route : system.routes) {
      SCOPED_TRACE(std::string(system.windowsVersion) + ", " + system.locale + ", " + route.name);
      RecordedFileType help(".hlp", route.hlpHasProgram ? recorder : "", hlpLog);
      route.run(program);
      const std::string file = route.file;
      const bool helpFile = file.size() > 4 && file.compare(file.size() - 4, 4, ".hlp") == 0;
      OpenedFile opened;
      const bool expectedOpened = waitForLog(helpFile ? hlpLog : htmlLog, opened);
      const bool helpFileOpened = !helpFile && GetFileAttributesA(hlpLog.c_str()) != INVALID_FILE_ATTRIBUTES;
      EXPECT_FALSE(helpFileOpened) << "the help file was opened";
      ASSERT_TRUE(expectedOpened) << route.file << " was not opened";
      EXPECT_PRED2(samePath, directory.path() + "\\" + route.file, opened.file);
      EXPECT_PRED2(samePath, directory.path(), opened.directory);
      DeleteFileA(hlpLog.c_str());
    }
    EXPECT_EQ(nullptr, program.messageBox());
  }
}

TEST(ToolsShell, MissingFilesAreNotReported) {
  WorkingDirectory directory;  // holds neither file
  Program program(directory);
  ASSERT_TRUE(program.waitForStatusWindow());
  program.click(ID_HELP);
  program.menuCommand(ID_GET_FACES);
  program.sync();
  EXPECT_EQ(nullptr, program.messageBox());
  EXPECT_TRUE(IsWindowEnabled(program.statusWindow())) << "something modal is open";
}

}  // namespace
