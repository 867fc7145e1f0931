#include "tests/endurance/driving.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>

#include "res/resource.h"

namespace endurance {

const char* const kMonitorCaption = "QuimbelUtilityモニター";
const char* const kSettingsCaption = "設定ダイアログ";

namespace {

constexpr DWORD kAnswerMs = 5000;
constexpr DWORD kWindowWaitMs = 10000;
constexpr DWORD kExitWaitMs = 15000;
constexpr const char* kDrawingObjectsMessage = "QuimbelLiveDrawingObjects";

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool ownedKey(const std::string& section, const std::string& key) {
  static const char* const kGeneral[] = {"facedir",     "unitbutton", "unitend", "linecolor",
                                         "monitercolor", "alwaysontop", "x",      "y"};
  const std::string s = lower(section);
  const std::string k = lower(trim(key));
  if (s == "general") return std::find(std::begin(kGeneral), std::end(kGeneral), k) != std::end(kGeneral);
  return s == "monitor" && (k == "x" || k == "y");
}

// The double-NUL-terminated list a profile call fills, read with a buffer
// large enough for it (such calls report truncation as size - 2).
std::vector<std::string> profileList(const std::function<DWORD(char*, DWORD)>& read) {
  std::vector<std::string> items;
  for (DWORD size = 1 << 16; size <= (1u << 26); size *= 4) {
    std::vector<char> buffer(size, '\0');
    const DWORD used = read(buffer.data(), size);
    if (used >= size - 2 && size < (1u << 26)) continue;
    for (std::size_t i = 0; i < used && buffer[i] != '\0';) {
      std::string item(&buffer[i]);
      i += item.size() + 1;
      items.push_back(item);
    }
    break;
  }
  return items;
}

}  // namespace

Features featuresOf(const std::string& exePath) {
  Features features;
  if (HMODULE image = LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
    features.monitorWindow = FindResourceA(image, MAKEINTRESOURCEA(IDD_MONITOR), MAKEINTRESOURCEA(5)) != nullptr;
    features.settingsDialog = FindResourceA(image, MAKEINTRESOURCEA(IDD_SETTINGS), MAKEINTRESOURCEA(5)) != nullptr;
    features.faces = FindResourceA(image, MAKEINTRESOURCEA(IDB_FACE_FINE), MAKEINTRESOURCEA(2)) != nullptr;
    FreeLibrary(image);
  }
  return features;
}

std::optional<long> liveDrawingObjects(const e2e::Program& program) {
  HWND status = program.statusWindow();
  DWORD_PTR answer = 0;
  // The program answers one more than the count, so a window that does not
  // know the message (answering 0) is not taken for one holding nothing.
  if (!status || !SendMessageTimeoutA(status, RegisterWindowMessageA(kDrawingObjectsMessage), 0, 0,
                                      SMTO_ABORTIFHUNG, kAnswerMs, &answer) || answer == 0) {
    return std::nullopt;
  }
  return static_cast<long>(answer) - 1;
}

bool responsive(const e2e::Program& program) {
  HWND status = program.statusWindow();
  DWORD_PTR ignored = 0;
  return status && !program.hasExited() &&
         SendMessageTimeoutA(status, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &ignored) != 0;
}

namespace {

std::string visit(const e2e::Program& program, const char* caption, const std::function<void()>& open,
                  int ticks) {
  open();
  HWND window = nullptr;
  e2e::waitFor(
      [&] {
        window = program.topLevelWindow(caption);
        return window || program.hasExited();
      },
      kWindowWaitMs);
  if (!window) return std::string(program.hasExited() ? "the program ended" : "it did not open");
  program.tick(ticks);
  e2e::Program::clickIn(window, IDCANCEL);
  if (!e2e::waitFor([&] { return !IsWindow(window) || program.hasExited(); }, kWindowWaitMs)) {
    return "it did not close";
  }
  if (!e2e::waitFor([&] { return program.hasExited() || IsWindowVisible(program.statusWindow()); },
                    kWindowWaitMs)) {
    return "the status window did not come back";
  }
  return program.hasExited() ? "the program ended" : "";
}

}  // namespace

std::string visitMonitorWindow(const e2e::Program& program, int ticks) {
  const std::string problem =
      visit(program, kMonitorCaption, [&] { program.clickWithoutWaiting(IDC_MONITOR); }, ticks);
  return problem.empty() ? problem : "monitor window: " + problem;
}

std::string visitSettingsDialog(const e2e::Program& program, int ticks) {
  const std::string problem =
      visit(program, kSettingsCaption, [&] { program.menuCommand(ID_SETTINGS); }, ticks);
  return problem.empty() ? problem : "settings dialog: " + problem;
}

std::string exitProgram(const e2e::Program& program, const std::string& unsavedSettingsPath) {
  if (program.hasExited()) return "the program had ended by itself, code " + std::to_string(program.exitCode());
  program.menuCommand(ID_APP_EXIT);
  if (!unsavedSettingsPath.empty()) {
    const std::string message = program.answerMessageBox(kExitWaitMs);
    if (message.find(unsavedSettingsPath) == std::string::npos) {
      return "expected a message naming the unsaved settings file at exit, got '" + message + "'";
    }
  }
  if (!program.waitForExit(kExitWaitMs)) {
    if (HWND box = program.messageBox()) return "a message box at exit: " + e2e::Program::messageBoxText(box);
    return "the program did not end after File > Exit";
  }
  if (program.exitCode() != 0) return "the program ended with code " + std::to_string(program.exitCode());
  return "";
}

std::vector<COLORREF> screenPixels(const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  std::vector<COLORREF> pixels;
  if (width <= 0 || height <= 0) return pixels;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> raw(static_cast<std::size_t>(width) * height);
  if (GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), raw.data(), &info, DIB_RGB_COLORS) == height) {
    for (DWORD bgr : raw) pixels.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

std::vector<std::string> foreignEntries(const std::string& iniPath) {
  std::vector<std::string> entries;
  std::vector<std::string> seen;
  const std::vector<std::string> sections = profileList(
      [&](char* buffer, DWORD size) { return GetPrivateProfileSectionNamesA(buffer, size, iniPath.c_str()); });
  for (const std::string& section : sections) {
    // A repeated section reads as its first occurrence.
    if (std::find(seen.begin(), seen.end(), lower(section)) != seen.end()) continue;
    seen.push_back(lower(section));
    for (const std::string& line : profileList([&](char* buffer, DWORD size) {
           return GetPrivateProfileSectionA(section.c_str(), buffer, size, iniPath.c_str());
         })) {
      if (!ownedKey(section, line.substr(0, line.find('=')))) entries.push_back("[" + lower(section) + "] " + line);
    }
  }
  return entries;
}

std::vector<std::string> foreignEntriesAfterPlatformRewrite(const std::string& iniPath) {
  // The copy goes to the temporary folder: beside a file deep in a long
  // directory its name could be too long for the platform's profile calls.
  char folder[MAX_PATH] = {};
  char name[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  if (!GetTempFileNameA(folder, "ini", 0, name)) return {};
  const std::string copy = name;
  if (!CopyFileA(iniPath.c_str(), copy.c_str(), FALSE)) {
    DeleteFileA(copy.c_str());
    return {};
  }
  WritePrivateProfileStringA("GENERAL", "X", "0", copy.c_str());
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, copy.c_str());
  std::vector<std::string> entries = foreignEntries(copy);
  DeleteFileA(copy.c_str());
  return entries;
}

std::vector<std::string> missingEntries(const std::vector<std::string>& before,
                                        const std::vector<std::string>& after) {
  std::map<std::string, int> left;
  for (const std::string& entry : after) ++left[entry];
  std::vector<std::string> missing;
  for (const std::string& entry : before) {
    if (left[entry]-- <= 0) missing.push_back(entry);
  }
  return missing;
}

bool writeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool whole = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                     written == bytes.size();
  CloseHandle(file);
  return whole;
}

std::string makeDirectoryOfLength(const std::string& base, std::size_t length) {
  std::string path = base;
  while (path.size() < length) {
    std::size_t room = length - path.size() - 1;  // one for the backslash
    std::size_t part = room > 60 ? 60 : room;
    if (room > 60 && room - 60 < 2) part = room - 2;  // leave room for a last part
    path += "\\" + std::string(part, 'd');
    // A tree left by an earlier run under the same name may be there still:
    // the platform cannot remove the deepest of these directories again.
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return "";
  }
  return path.size() == length ? path : "";
}

}  // namespace endurance
