#include "tests/e2e/harness.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <utility>

#include "tests/stand_in/stand_in_rsrc32.h"

namespace e2e {
namespace {

// A sent message that the program does not answer within this time counts
// as unanswered, so a hung program fails a test instead of hanging it.
constexpr DWORD kSendTimeoutMs = 5000;
constexpr DWORD kKillWaitMs = 10000;
// Long enough for a thousand queued ticks on a loaded machine.
constexpr DWORD kQueueWaitMs = 120000;
constexpr UINT_PTR kRefreshTimer = 1;
// Wine's message boxes, like Windows', hold their text in static 0xFFFF.
constexpr int kMessageBoxTextId = 0xFFFF;
// The hidden Cancel button never changes on its own, so its pushed state
// can mark how far the program has worked through its queue.
constexpr int kQueueMarkerButton = IDCANCEL;
constexpr const char* kStatusCaption = "QuimbelUtility";
constexpr const char* kDialogClass = "#32770";
constexpr const char* kVersionKey = "Software\\Wine\\AppDefaults\\Quimbel.exe";
constexpr const char* kVersionValue = "Version";
// Linux reports process times in USER_HZ clock ticks, 100 a second.
constexpr double kMsPerClockTick = 10.0;
// How long a program started through the shell may take to appear.
constexpr DWORD kAppearWaitMs = 30000;
// The Unix shell that runs the launcher, as Wine names it.
constexpr const wchar_t* kUnixShell = L"Z:\\bin\\bash";
// How long mounting or unmounting a folder may take.
constexpr DWORD kMountWaitMs = 30000;

std::string& exePath() {
  static std::string path;
  return path;
}

std::string& plainReleasePath() {
  static std::string path;
  return path;
}

std::string& standInPath() {
  static std::string path;
  return path;
}

// Sent wide, so text messages carry UTF-16 whatever code page either side has.
LRESULT sendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result)) {
    return 0;
  }
  return static_cast<LRESULT>(result);
}

// The program's texts are compared as the tests write them, in code page
// 932, whatever code page the program itself runs in: they are read wide.
std::string programText(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(932, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) WideCharToMultiByte(932, 0, text.data(), size, &result[0], length, nullptr, nullptr);
  return result;
}

std::wstring wideText(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(932, 0, text.data(), size, nullptr, 0);
  std::wstring result(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(932, 0, text.data(), size, &result[0], length);
  return result;
}

// Another process's caption as the system keeps it, read without sending
// a message, so a busy program cannot hold the search up.
std::string caption(HWND window) {
  wchar_t text[256] = {};
  int length = GetWindowTextW(window, text, 256);
  return programText(std::wstring(text, length > 0 ? static_cast<std::size_t>(length) : 0));
}

std::string className(HWND window) {
  char name[64] = {};
  int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

DWORD windowProcess(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

struct WindowSearch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK collectWindowOfProcess(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  if (windowProcess(window) == search->processId) search->found.push_back(window);
  return TRUE;
}

// Every top-level window of one process.
std::vector<HWND> topLevelWindows(DWORD processId) {
  WindowSearch search{processId, {}};
  EnumWindows(collectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The processes whose executable file is named `exeName`.
std::set<DWORD> processesNamed(const std::string& exeName) {
  std::set<DWORD> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0) found.insert(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return found;
}

template <typename T>
bool readFrom(HANDLE process, const void* address, T& value) {
  SIZE_T read = 0;
  return ReadProcessMemory(process, address, &value, sizeof value, &read) && read == sizeof value;
}

// The command line of a process of this harness's own architecture, read
// from its process parameters; empty while they cannot be read yet.
std::wstring commandLineOf(HANDLE process) {
  PROCESS_BASIC_INFORMATION basic{};
  PEB peb{};
  RTL_USER_PROCESS_PARAMETERS parameters{};
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
      !readFrom(process, basic.PebBaseAddress, peb) || !peb.ProcessParameters ||
      !readFrom(process, peb.ProcessParameters, parameters)) {
    return {};
  }
  std::wstring text(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
  SIZE_T read = 0;
  if (text.empty() || !ReadProcessMemory(process, parameters.CommandLine.Buffer, &text[0],
                                         text.size() * sizeof(wchar_t), &read)) {
    return {};
  }
  return text;
}

std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The whole content of a file, Unix files under Z:\ included; empty when
// it cannot be read.
std::string readWholeFile(const std::wstring& path) {
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string content;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
  CloseHandle(file);
  return content;
}

// Wide throughout: tests make folders whose names no code page holds.
void removeTree(const std::wstring& directory) {
  WIN32_FIND_DATAW entry{};
  HANDLE find = FindFirstFileW((directory + L"\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = directory + L"\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryW(directory.c_str());
}

std::string readWholeFile(const std::string& path) { return readWholeFile(wideText(path)); }

// Starts a command line with the Unix shell in `directory`. Wine runs a
// Unix program as such and hands back no process of its own, and then no
// thread either: it can leave a stray value in hThread, and closing that
// would close whichever handle of ours it happens to match (the low two
// bits of a handle are ignored).
bool startUnixShell(const std::string& command, const std::wstring& directory) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION shell{};
  std::wstring commandLine = wideText(command);
  if (!CreateProcessW(kUnixShell, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                      &startup, &shell)) {
    return false;
  }
  if (shell.hProcess) {
    CloseHandle(shell.hThread);
    CloseHandle(shell.hProcess);
  }
  return true;
}

// Runs the read-only folder helper ("on" or "off") for `folder`, from its
// parent; the outcome is "ok" or what went wrong.
std::string runReadOnlyFolderHelper(const char* action, const std::string& folder) {
  const std::string outcome = folder + ".outcome";
  DeleteFileA(outcome.c_str());
  const std::size_t slash = folder.find_last_of('\\');
  const std::string parent = folder.substr(0, slash);
  std::string commandLine = std::string("/bin/bash \"") + QUIMBEL_READ_ONLY_FOLDER + "\" " + action + " \"" +
                            folder.substr(slash + 1) + "\"";
  if (!startUnixShell(commandLine, wideText(parent))) {
    return "the Unix shell did not start, error " + std::to_string(GetLastError());
  }
  if (!waitFor([&] { return GetFileAttributesA(outcome.c_str()) != INVALID_FILE_ATTRIBUTES; }, kMountWaitMs)) {
    return "no outcome within " + std::to_string(kMountWaitMs) + " ms";
  }
  const std::string text = readWholeFile(outcome);
  DeleteFileA(outcome.c_str());
  return text;
}

bool isAllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(pollMs);
  }
}

// --- Windows version seen by the program -----------------------------------

ScopedUserSetting::ScopedUserSetting(const std::string& key, const std::string& name, const std::string& value)
    : ScopedUserSetting(key, name, value.empty() ? REG_NONE : REG_SZ, value + '\0') {}

ScopedUserSetting::ScopedUserSetting(const std::string& key, const std::string& name, DWORD value)
    : ScopedUserSetting(key, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value)) {}

ScopedUserSetting::ScopedUserSetting(const std::string& key, const std::string& name, DWORD type,
                                     const std::string& bytes)
    : key_(key), name_(name) {
  HKEY raw = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                      nullptr, &raw, nullptr) != ERROR_SUCCESS) {
    return;
  }
  DWORD size = 0;
  if (RegQueryValueExA(raw, name_.c_str(), nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
    previous_.resize(size);
    hadPrevious_ = RegQueryValueExA(raw, name_.c_str(), nullptr, &previousType_,
                                    reinterpret_cast<BYTE*>(&previous_[0]), &size) == ERROR_SUCCESS;
  }
  if (type == REG_NONE) {
    RegDeleteValueA(raw, name_.c_str());
  } else {
    RegSetValueExA(raw, name_.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
  }
  RegCloseKey(raw);
}

ScopedUserSetting::~ScopedUserSetting() {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_WRITE, &raw) != ERROR_SUCCESS) return;
  if (hadPrevious_) {
    RegSetValueExA(raw, name_.c_str(), 0, previousType_, reinterpret_cast<const BYTE*>(previous_.data()),
                   static_cast<DWORD>(previous_.size()));
  } else {
    RegDeleteValueA(raw, name_.c_str());
  }
  RegCloseKey(raw);
}

WindowsVersionMode::WindowsVersionMode(const std::string& version)
    : ScopedUserSetting(kVersionKey, kVersionValue, version) {}

bool setDynDataValue(const std::string& subkey, const std::string& valueName, std::uint32_t value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_DYN_DATA, subkey.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const DWORD data = value;
  const bool written = RegSetValueExA(key, valueName.c_str(), 0, REG_DWORD,
                                      reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
  RegCloseKey(key);
  return written;
}

bool deleteDynDataValue(const std::string& subkey, const std::string& valueName) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_DYN_DATA, subkey.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS) return true;
  const LONG result = RegDeleteValueA(key, valueName.c_str());
  RegCloseKey(key);
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

// --- Working directory and settings file -----------------------------------

WorkingDirectory::WorkingDirectory() : WorkingDirectory(std::wstring()) {}

WorkingDirectory::WorkingDirectory(const std::wstring& name) {
  static LONG created = 0;
  wchar_t temp[MAX_PATH] = {};
  DWORD length = GetTempPathW(MAX_PATH, temp);
  std::wstring base(temp, length < MAX_PATH ? length : 0);
  if (!base.empty() && base.back() != L'\\') base += L'\\';
  const std::string serial =
      std::to_string(GetCurrentProcessId()) + "-" + std::to_string(InterlockedIncrement(&created));
  widePath_ = base + L"quimbel-e2e-" + std::wstring(serial.begin(), serial.end()) + name;
  path_ = programText(widePath_);
  removeTree(widePath_);
  CreateDirectoryW(widePath_.c_str(), nullptr);
}

WorkingDirectory::~WorkingDirectory() { removeTree(widePath_); }

void WorkingDirectory::writeSettings(const std::string& content) const {
  HANDLE file = CreateFileA(settingsPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
}

std::string WorkingDirectory::readSettings() const { return readWholeFile(widePath_ + L"\\quimbel.ini"); }

bool WorkingDirectory::settingsExist() const {
  return GetFileAttributesA(settingsPath().c_str()) != INVALID_FILE_ATTRIBUTES;
}

ReadOnlyFolder::ReadOnlyFolder(std::string path) : path_(std::move(path)) {
  const std::string outcome = runReadOnlyFolderHelper("on", path_);
  mounted_ = outcome == "ok";
  if (!mounted_) why_ = "could not make a read-only bind mount of " + path_ + " (it needs root): " + outcome;
}

ReadOnlyFolder::~ReadOnlyFolder() {
  if (!mounted_) return;
  const std::string outcome = runReadOnlyFolderHelper("off", path_);
  if (outcome != "ok") std::fprintf(stderr, "unmounting %s: %s\n", path_.c_str(), outcome.c_str());
}

SettingValue readSetting(const std::string& iniPath, const std::string& section, const std::string& key) {
  // A default no real value takes tells a missing key from an empty one.
  static const char kAbsent[] = "<absent>";
  char buffer[1024] = {};
  DWORD length =
      GetPrivateProfileStringA(section.c_str(), key.c_str(), kAbsent, buffer, sizeof buffer, iniPath.c_str());
  SettingValue value;
  value.text.assign(buffer, length);
  value.present = value.text != kAbsent;
  if (!value.present) value.text.clear();
  return value;
}

// --- The running program ------------------------------------------------------

Program::Program(const WorkingDirectory& directory) : directory_(directory.widePath()) { start(quimbelExePath()); }

Program::Program(const std::string& directoryPath) : directory_(wideText(directoryPath)) { start(quimbelExePath()); }

Program::Program(const WorkingDirectory& directory, const std::string& exePath)
    : directory_(directory.widePath()) {
  start(exePath);
}

// Users start the program from the shell through Wine's loader
// (scripts/run.sh); a program that another Wine process starts gets a
// different address-space layout, and a fault that shows only on the
// user's path would stay hidden. So the program is started by the launcher
// script, run by the Unix shell in the working directory, and found again
// among the new processes of its name by the tag on its command line.
void Program::start(const std::string& exePath) {
  static LONG runs = 0;
  // Windows process ids repeat across Wine sessions, and /proc shows every
  // session's programs: the moment this harness started tells its runs apart.
  static const LONGLONG startedAt = [] {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
  }();
  runTag_ = "e2e-run-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(startedAt) + "-" +
            std::to_string(InterlockedIncrement(&runs));
  const std::string exeName = fileNameOf(exePath);
  // The launcher runs the program under the Wine of this harness's own
  // architecture, which is the one the program was built for.
  std::string commandLine = std::string("/bin/bash \"") + QUIMBEL_SHELL_LAUNCHER + "\" " +
                            std::to_string(sizeof(void*) * 8) + " \"" + exePath + "\" " + runTag_;
  if (!startUnixShell(commandLine, directory_)) {
    std::fprintf(stderr, "starting %s failed, error %lu\n", commandLine.c_str(), GetLastError());
    return;
  }
  // Other programs of the same name may start at the same moment (the
  // bad-input run starts several at once): this run's is the one whose
  // command line ends in its tag.
  const std::wstring tag = L" " + std::wstring(runTag_.begin(), runTag_.end());
  auto endsInTag = [&](const std::wstring& text) {
    return text.size() >= tag.size() && text.compare(text.size() - tag.size(), tag.size(), tag) == 0;
  };
  waitFor(
      [&] {
        for (DWORD id : processesNamed(exeName)) {
          HANDLE candidate = OpenProcess(PROCESS_ALL_ACCESS, FALSE, id);
          if (!candidate) continue;
          if (endsInTag(commandLineOf(candidate))) {
            process_ = candidate;
            processId_ = id;
            return true;
          }
          CloseHandle(candidate);
        }
        return false;
      },
      kAppearWaitMs);
  if (!process_) {
    // The tests only see that nothing started; say why.
    std::fprintf(stderr, "%s started from the shell in %s did not appear as a process within %lu ms\n",
                 exePath.c_str(), programText(directory_).c_str(), static_cast<unsigned long>(kAppearWaitMs));
  }
}

Program::~Program() {
  if (!process_) return;
  if (!hasExited()) {
    // Killing the process also takes any message box it has open.
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, kKillWaitMs);
  }
  CloseHandle(process_);
}

bool Program::started() const { return process_ != nullptr; }

DWORD Program::processId() const { return processId_; }

HWND Program::statusWindow() const {
  if (!started()) return nullptr;
  for (HWND window : topLevelWindows(processId())) {
    if (className(window) == kDialogClass && caption(window) == kStatusCaption) return window;
  }
  return nullptr;
}

HWND Program::windowCaptioned(const std::string& caption) const {
  if (!started()) return nullptr;
  for (HWND window : topLevelWindows(processId())) {
    if (::e2e::caption(window) == caption) return window;
  }
  return nullptr;
}

HWND Program::waitForWindowWith(int controlId, DWORD timeoutMs) const {
  HWND found = nullptr;
  waitFor(
      [&] {
        for (HWND window : topLevelWindows(processId())) {
          if (IsWindowVisible(window) && GetDlgItem(window, controlId)) found = window;
        }
        return found != nullptr || hasExited();
      },
      timeoutMs);
  return found;
}

HWND Program::waitForWindowCaptioned(const std::string& caption, DWORD timeoutMs) const {
  auto shown = [&] {
    HWND window = windowCaptioned(caption);
    return window && IsWindowVisible(window) ? window : nullptr;
  };
  waitFor([&] { return hasExited() || shown() != nullptr; }, timeoutMs);
  return shown();
}

bool Program::waitForStatusWindow(DWORD timeoutMs) {
  auto shown = [this] {
    HWND window = statusWindow();
    return window && IsWindowVisible(window);
  };
  waitFor([&] { return hasExited() || shown(); }, timeoutMs);
  return shown();
}

HWND Program::topLevelWindow(const std::string& wanted) const {
  if (!started()) return nullptr;
  for (HWND window : topLevelWindows(processId())) {
    if (IsWindowVisible(window) && caption(window) == wanted) return window;
  }
  return nullptr;
}

HWND Program::messageBox() const {
  if (!started()) return nullptr;
  HWND status = statusWindow();
  for (HWND window : topLevelWindows(processId())) {
    if (window == status || className(window) != kDialogClass || !IsWindowVisible(window)) continue;
    HWND text = GetDlgItem(window, kMessageBoxTextId);
    // The box shows before its initialisation has put the message in; it
    // counts as open once the text is there (the program shows no empty one).
    if (text && className(text) == "Static" && !windowText(text).empty()) return window;
  }
  return nullptr;
}

bool Program::waitForMessageBox(DWORD timeoutMs) {
  waitFor([this] { return hasExited() || messageBox() != nullptr; }, timeoutMs);
  return messageBox() != nullptr;
}

std::string Program::answerMessageBox(DWORD timeoutMs) const {
  HWND box = nullptr;
  waitFor([&] { return hasExited() || (box = messageBox()) != nullptr; }, timeoutMs);
  if (!box) return {};
  const std::string text = messageBoxText(box);
  clickIn(box, IDOK);
  return text;
}

std::string Program::messageBoxText(HWND box) { return windowText(GetDlgItem(box, kMessageBoxTextId)); }

std::string Program::windowText(HWND window) {
  if (!window) return {};
  const LRESULT length = sendTo(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      sendTo(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return programText(text);
}

void Program::clickIn(HWND dialog, int id) {
  if (HWND button = GetDlgItem(dialog, id)) sendTo(button, BM_CLICK, 0, 0);
}

HWND Program::control(int id) const {
  HWND window = statusWindow();
  return window ? GetDlgItem(window, id) : nullptr;
}

std::string Program::controlText(int id) const { return windowText(control(id)); }

bool Program::setControlText(int id, const std::string& text) const {
  HWND window = control(id);
  const std::wstring wide = wideText(text);
  return window && sendTo(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str())) != 0;
}

bool Program::isChecked(int id) const {
  HWND window = control(id);
  return window && sendTo(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool Program::isVisible(int id) const {
  // The control's own visibility, whether or not its window is shown.
  HWND window = control(id);
  return window && (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Program::click(int id) const {
  if (HWND window = statusWindow()) clickIn(window, id);
}

void Program::clickWithoutWaiting(int id) const {
  if (HWND button = control(id)) PostMessageA(button, BM_CLICK, 0, 0);
}

void Program::menuCommand(int id) const {
  if (HWND window = statusWindow()) PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void Program::sysCommand(UINT command) const {
  if (HWND window = statusWindow()) PostMessageA(window, WM_SYSCOMMAND, command, 0);
}

void Program::pressKey(UINT virtualKey) const {
  HWND window = statusWindow();
  if (!window) return;
  // The keys go through the program's message loop, where the dialog
  // manager turns Enter and Esc into commands, just as typed keys would.
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  HWND target = window;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui) && gui.hwndFocus) target = gui.hwndFocus;
  const UINT scanCode = MapVirtualKeyA(virtualKey, 0);
  const LPARAM down = 1 | static_cast<LPARAM>(scanCode << 16);
  const LPARAM up = down | static_cast<LPARAM>(0xC0000000u);
  PostMessageA(target, WM_KEYDOWN, virtualKey, down);
  // For F1 typed on the keyboard the system adds WM_KEYF1 (0x004D), which
  // default handling turns into WM_HELP; a posted key gets none.
  constexpr UINT kKeyF1Message = 0x004D;
  if (virtualKey == VK_F1) PostMessageA(target, kKeyF1Message, 0, 0);
  PostMessageA(target, WM_KEYUP, virtualKey, up);
}

void Program::tick(int count) const {
  HWND window = statusWindow();
  if (!window) return;
  for (int i = 0; i < count; ++i) PostMessageA(window, WM_TIMER, kRefreshTimer, 0);
  sync();
}

void Program::sync() const {
  // Sent messages overtake posted ones, so asking the program directly
  // proves nothing about its queue. A posted change to the hidden Cancel
  // button is handled only after everything posted before it.
  HWND marker = control(kQueueMarkerButton);
  if (!marker) return;
  sendTo(marker, BM_SETSTATE, FALSE, 0);
  PostMessageA(marker, BM_SETSTATE, TRUE, 0);
  waitFor([&] { return hasExited() || (sendTo(marker, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }, kQueueWaitMs,
          5);
  sendTo(marker, BM_SETSTATE, FALSE, 0);
}

RECT Program::windowRect() const {
  RECT rect{};
  if (HWND window = statusWindow()) GetWindowRect(window, &rect);
  return rect;
}

RECT Program::controlScreenRect(int id) const { return clientScreenRect(control(id)); }

RECT clientScreenRect(HWND window) {
  RECT rect{};
  if (!window) return rect;
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool Program::isTopmost() const {
  HWND window = statusWindow();
  return window && (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

bool Program::moveTo(int x, int y) const {
  HWND window = statusWindow();
  if (!window) return false;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return waitFor(
      [&] {
        RECT rect = windowRect();
        return rect.left == x && rect.top == y;
      },
      5000);
}

bool Program::waitForExit(DWORD timeoutMs) const {
  return started() && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

bool Program::hasExited() const {
  return !started() || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
}

DWORD Program::exitCode() const {
  DWORD code = STILL_ACTIVE;
  if (started()) GetExitCodeProcess(process_, &code);
  return code;
}

DWORD Program::unixProcessId() const {
  if (unixPid_ != 0 || !started()) return unixPid_;
  // Wine shows a process's Windows command line as its Unix one.
  WIN32_FIND_DATAA entry{};
  HANDLE find = FindFirstFileA("Z:\\proc\\*", &entry);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::string name = entry.cFileName;
    if (!isAllDigits(name)) continue;
    // Its arguments, each ended by a NUL (Wine pads its own with more); the
    // launcher that started it carries the same tag.
    std::string arguments = readWholeFile("Z:\\proc\\" + name + "\\cmdline");
    while (!arguments.empty() && arguments.back() == '\0') arguments.pop_back();
    const std::string last = std::string(1, '\0') + runTag_;
    const bool endsInTag =
        arguments.size() >= last.size() && arguments.compare(arguments.size() - last.size(), last.size(), last) == 0;
    if (endsInTag && arguments.find(QUIMBEL_SHELL_LAUNCHER) == std::string::npos) {
      unixPid_ = static_cast<DWORD>(std::strtoul(name.c_str(), nullptr, 10));
      break;
    }
  } while (FindNextFileA(find, &entry));
  FindClose(find);
  return unixPid_;
}

double Program::cpuTimeMs() const {
  const DWORD pid = unixProcessId();
  if (pid == 0) return -1;
  const std::string stat = readWholeFile("Z:\\proc\\" + std::to_string(pid) + "\\stat");
  // The name in parentheses may hold blanks; the fields after it do not.
  const std::string::size_type close = stat.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(stat.substr(close + 1));
  std::string field;
  unsigned long long userTicks = 0;
  unsigned long long systemTicks = 0;
  // After the name: state is field 3, utime field 14, stime field 15.
  for (int number = 3; number <= 15 && (fields >> field); ++number) {
    if (number == 14) userTicks = std::strtoull(field.c_str(), nullptr, 10);
    if (number == 15) systemTicks = std::strtoull(field.c_str(), nullptr, 10);
  }
  return static_cast<double>(userTicks + systemTicks) * kMsPerClockTick;
}

long Program::privateMemoryKb() const {
  const DWORD pid = unixProcessId();
  if (pid == 0) return -1;
  std::istringstream lines(readWholeFile("Z:\\proc\\" + std::to_string(pid) + "\\smaps_rollup"));
  std::string label;
  long kb = 0;
  long total = -1;
  while (lines >> label) {
    if (label == "Private_Dirty:" || label == "Swap:") {
      lines >> kb;
      total = (total < 0 ? 0 : total) + kb;
    }
  }
  return total;
}

// --- Screen and machine --------------------------------------------------------

COLORREF screenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return colour;
}

ScreenShot::ScreenShot(const RECT& area) : area_(area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory && bitmap) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY)) {
      GdiFlush();
      const auto* first = static_cast<const std::uint32_t*>(bits);
      pixels_.assign(first, first + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    }
    SelectObject(memory, previous);
  }
  if (bitmap) DeleteObject(bitmap);
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

COLORREF ScreenShot::at(int x, int y) const {
  if (x < area_.left || x >= area_.right || y < area_.top || y >= area_.bottom || pixels_.empty()) {
    return CLR_INVALID;
  }
  const std::size_t width = static_cast<std::size_t>(area_.right - area_.left);
  const std::uint32_t pixel =
      pixels_[static_cast<std::size_t>(y - area_.top) * width + static_cast<std::size_t>(x - area_.left)];
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

long liveDrawingObjectsAnswer(HWND window) {
  static const UINT message = RegisterWindowMessageA("QuimbelLiveDrawingObjects");
  DWORD_PTR answer = 0;
  if (!window || !SendMessageTimeoutA(window, message, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &answer)) return 0;
  return static_cast<long>(answer);
}

std::string systemResourceMeterPath() {
  char directory[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
  std::string path(directory, length < MAX_PATH ? length : 0);
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path + stand_in::kLibraryName;
}

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

InstalledResourceMeter::InstalledResourceMeter() : target_(systemResourceMeterPath()) {
  const std::string& source = standInResourceMeterPath();
  installed_ = !source.empty() && CopyFileA(source.c_str(), target_.c_str(), FALSE);
}

InstalledResourceMeter::~InstalledResourceMeter() {
  if (installed_) DeleteFileA(target_.c_str());
}

MachineCpuTimes readMachineCpuTimes() {
  MachineCpuTimes times;
  std::istringstream stat(readWholeFile("Z:\\proc\\stat"));
  std::string label;
  stat >> label;
  if (label != "cpu") return times;
  // user nice system idle iowait irq softirq steal. Only idle is idle: Wine
  // hands waits for I/O to Windows programs as kernel time, as it does the
  // rest, so the machine is read here as the program is shown it.
  unsigned long long value = 0;
  for (int column = 0; column < 8 && (stat >> value); ++column) {
    times.total += value;
    if (column != 3) times.busy += value;
  }
  return times;
}

int machineBusyPercent(const MachineCpuTimes& earlier, const MachineCpuTimes& later) {
  const unsigned long long total = later.total - earlier.total;
  if (total == 0) return -1;
  return static_cast<int>((later.busy - earlier.busy) * 100 / total);
}

CpuBurner::CpuBurner(int threads) {
  for (int i = 0; i < threads; ++i) {
    if (HANDLE thread = CreateThread(nullptr, 0, burn, this, 0, nullptr)) threads_.push_back(thread);
  }
}

CpuBurner::~CpuBurner() {
  InterlockedExchange(&stop_, 1);
  for (HANDLE thread : threads_) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
}

DWORD WINAPI CpuBurner::burn(LPVOID self) {
  auto* burner = static_cast<CpuBurner*>(self);
  volatile unsigned long spins = 0;
  while (burner->stop_ == 0) spins = spins + 1;
  return 0;
}

const std::string& quimbelExePath() { return exePath(); }

void setQuimbelExePath(const std::string& windowsPath) { exePath() = windowsPath; }

const std::string& plainReleaseExePath() { return plainReleasePath(); }

void setPlainReleaseExePath(const std::string& windowsPath) { plainReleasePath() = windowsPath; }

const std::string& standInResourceMeterPath() { return standInPath(); }

void setStandInResourceMeterPath(const std::string& windowsPath) { standInPath() = windowsPath; }

// Writes a 24-bit bottom-up bitmap file whose pixel (x, y) is colour(x, y).
void writeBitmap(const std::string& path, int side, const std::function<COLORREF(int, int)>& colour) {
  const int rowBytes = (side * 3 + 3) / 4 * 4;
  std::string pixels;
  for (int y = side - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < side; ++x) {
      const COLORREF c = colour(x, y);
      row += {static_cast<char>(GetBValue(c)), static_cast<char>(GetGValue(c)), static_cast<char>(GetRValue(c))};
    }
    row.resize(static_cast<std::size_t>(rowBytes), '\0');
    pixels += row;
  }
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  info.biSize = sizeof info;
  info.biWidth = side;
  info.biHeight = side;
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out << pixels;
}

}  // namespace e2e
