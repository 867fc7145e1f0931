// End-to-end tests of the help file in the help viewer (Wine's winhlp32):
// the status window's Help button opens it at its contents with the file's
// title as the viewer's caption, and every topic opens by its context id.
//
// Options: --help-file=<the staged quimbel.hlp> --help-source=<its source>.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/harness.h"
#include "tests/support/command_line.h"

namespace {

using e2e::Program;
using e2e::WorkingDirectory;

constexpr char kViewerClass[] = "MS_WINHELP";
constexpr DWORD kViewerTimeoutMs = 20000;

std::string option(const char* name) {
  return test_support::toWindowsPath(test_support::optionValue(__argc, __argv, name));
}

std::wstring fromUtf8(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                                         static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return wide;
}

struct Topic {
  std::string contextId;
  std::wstring title;
};

struct HelpSource {
  std::wstring title;
  std::vector<Topic> topics;
};

// The source's "@title <text>" and "== <context id> <title>" lines; the
// text itself is compared with the file by the reader test.
HelpSource readHelpSource(const std::string& path) {
  HelpSource source;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("@title ", 0) == 0) {
      source.title = fromUtf8(line.substr(7));
    } else if (line.rfind("== ", 0) == 0) {
      const std::size_t space = line.find(' ', 3);
      source.topics.push_back({line.substr(3, space - 3), fromUtf8(line.substr(space + 1))});
    }
  }
  return source;
}

std::wstring textOf(HWND window) {
  wchar_t buffer[32768] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, sizeof buffer / sizeof buffer[0], reinterpret_cast<LPARAM>(buffer),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  return buffer;
}

std::string classOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

BOOL CALLBACK collectViewer(HWND window, LPARAM list) {
  if (IsWindowVisible(window) && classOf(window) == kViewerClass) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  }
  return TRUE;
}

std::vector<HWND> viewerWindows() {
  std::vector<HWND> found;
  EnumWindows(collectViewer, reinterpret_cast<LPARAM>(&found));
  return found;
}

BOOL CALLBACK findTextPane(HWND child, LPARAM result) {
  if (classOf(child).rfind("RichEdit", 0) != 0) return TRUE;
  *reinterpret_cast<HWND*>(result) = child;
  return FALSE;
}

// The viewer's text pane, a rich edit control.
HWND textPane(HWND viewer) {
  HWND pane = nullptr;
  EnumChildWindows(viewer, findTextPane, reinterpret_cast<LPARAM>(&pane));
  return pane;
}

// A viewer with this caption showing the topic of this title: the text of
// every topic opens with its title.
HWND waitForViewerShowing(const std::wstring& caption, const std::wstring& topicTitle) {
  HWND shown = nullptr;
  e2e::waitFor(
      [&] {
        for (HWND viewer : viewerWindows()) {
          HWND pane = textPane(viewer);
          const std::wstring text = pane ? textOf(pane) : L"";
          if (textOf(viewer) == caption && text.substr(0, text.find(L'\r')) == topicTitle) {
            shown = viewer;
            return true;
          }
        }
        return false;
      },
      kViewerTimeoutMs);
  return shown;
}

std::string describeViewers() {
  std::ostringstream out;
  for (HWND viewer : viewerWindows()) {
    HWND pane = textPane(viewer);
    const std::wstring caption = textOf(viewer);
    const std::wstring text = pane ? textOf(pane) : L"(no text pane)";
    char narrow[70000] = {};
    WideCharToMultiByte(CP_UTF8, 0, (caption + L" | " + text).c_str(), -1, narrow, sizeof narrow - 1, nullptr,
                        nullptr);
    out << "\n  viewer: " << narrow;
  }
  return out.str().empty() ? "\n  no viewer window" : out.str();
}

void closeViewers() {
  for (HWND viewer : viewerWindows()) PostMessageA(viewer, WM_CLOSE, 0, 0);
  EXPECT_TRUE(e2e::waitFor([] { return viewerWindows().empty(); })) << "expected the viewer to close";
}

class Help : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(helpFile_.empty() || sourcePath_.empty()) << "expected --help-file= and --help-source=";
    ASSERT_FALSE(source_.topics.empty()) << "expected topics in " << sourcePath_;
    closeViewers();
  }
  void TearDown() override { closeViewers(); }

  const std::string helpFile_ = option("--help-file=");
  const std::string sourcePath_ = option("--help-source=");
  const HelpSource source_ = readHelpSource(sourcePath_);
};

// Windows before Vista have the viewer (from Vista on Help opens the page,
// tools_test.cpp).
TEST_F(Help, HelpButtonOpensTheFileInTheViewerAtItsContentsOnXp) {
  e2e::WindowsVersionMode winxp("winxp");
  WorkingDirectory directory;
  ASSERT_TRUE(CopyFileA(helpFile_.c_str(), (directory.path() + "\\quimbel.hlp").c_str(), FALSE))
      << "expected to copy " << helpFile_;
  Program program(directory);
  ASSERT_TRUE(program.started() && program.waitForStatusWindow()) << "expected the status window";

  program.clickWithoutWaiting(ID_HELP);

  const Topic& contents = source_.topics.front();
  EXPECT_TRUE(waitForViewerShowing(source_.title, contents.title))
      << "expected a " << kViewerClass << " window captioned with the file's title showing the contents"
      << describeViewers();
  program.menuCommand(ID_APP_EXIT);
  EXPECT_TRUE(program.waitForExit(15000)) << "expected the program to end";
}

TEST_F(Help, EveryTopicOpensByItsContextId) {
  for (const Topic& topic : source_.topics) {
    std::string commandLine = "winhlp32.exe -i " + topic.contextId + " \"" + helpFile_ + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION viewer{};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &viewer))
        << "expected to start " << commandLine;
    EXPECT_TRUE(waitForViewerShowing(source_.title, topic.title))
        << "expected topic " << topic.contextId << " to open" << describeViewers();
    closeViewers();
    WaitForSingleObject(viewer.hProcess, 10000);
    CloseHandle(viewer.hThread);
    CloseHandle(viewer.hProcess);
  }
}

}  // namespace
