#include "framework/platform_text.h"

namespace fw {
namespace {

constexpr UINT kProgramCodePage = 932;

std::wstring toWide(UINT codePage, const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, &wide[0], length);
  return wide;
}

// Converts to `codePage`; with `exact`, nothing when a character would be
// replaced or approximated.
std::optional<std::string> fromWide(UINT codePage, const std::wstring& text, bool exact) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  const DWORD flags = exact ? WC_NO_BEST_FIT_CHARS : 0;
  BOOL usedDefault = FALSE;
  BOOL* defaultFlag = exact ? &usedDefault : nullptr;
  const int length = WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, defaultFlag);
  if (length <= 0 || usedDefault) return std::nullopt;
  std::string result(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, text.data(), size, &result[0], length, nullptr, defaultFlag);
  if (usedDefault) return std::nullopt;
  return result;
}

// The system's code page, for the narrow calls of the 9x family.
std::string systemText(const std::wstring& text) { return fromWide(CP_ACP, text, false).value_or(std::string()); }

}  // namespace

bool usesWideText() {
  static const bool wide = (GetVersion() & 0x80000000u) == 0;
  return wide;
}

std::wstring widen(const std::string& text) { return toWide(kProgramCodePage, text); }

std::string narrow(const std::wstring& text) {
  return fromWide(kProgramCodePage, text, false).value_or(std::string());
}

std::wstring fromSystemCodePage(const std::string& text) { return toWide(CP_ACP, text); }

std::optional<std::string> toSystemCodePage(const std::wstring& text) { return fromWide(CP_ACP, text, true); }

std::string windowText(HWND window) {
  if (!usesWideText()) {
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return narrow(fromSystemCodePage(text));
  }
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, &text[0], length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return narrow(text);
}

void setWindowText(HWND window, const std::string& text) {
  if (usesWideText()) {
    SetWindowTextW(window, widen(text).c_str());
  } else {
    SetWindowTextA(window, systemText(widen(text)).c_str());
  }
}

int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
  if (usesWideText()) return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
  return MessageBoxA(owner, systemText(text).c_str(), systemText(caption).c_str(), type);
}

INT_PTR dialogBox(int templateId, HWND owner, DLGPROC procedure, LPARAM param) {
  if (usesWideText()) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, procedure, param);
  }
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner, procedure, param);
}

LRESULT defWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return usesWideText() ? DefWindowProcW(window, message, wParam, lParam)
                        : DefWindowProcA(window, message, wParam, lParam);
}

WNDPROC subclassWindow(HWND window, WNDPROC procedure) {
  const auto value = reinterpret_cast<LONG_PTR>(procedure);
  return reinterpret_cast<WNDPROC>(usesWideText() ? SetWindowLongPtrW(window, GWLP_WNDPROC, value)
                                                  : SetWindowLongPtrA(window, GWLP_WNDPROC, value));
}

LRESULT callWindowProc(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return usesWideText() ? CallWindowProcW(procedure, window, message, wParam, lParam)
                        : CallWindowProcA(procedure, window, message, wParam, lParam);
}

std::string loadString(UINT id) {
  if (usesWideText()) {
    wchar_t buffer[256] = {};
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, buffer, 256);
    return narrow(std::wstring(buffer, length > 0 ? static_cast<std::size_t>(length) : 0));
  }
  char buffer[256] = {};
  const int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
  return narrow(fromSystemCodePage(std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0)));
}

bool appendMenuItem(HMENU menu, UINT id, const std::string& text) {
  if (usesWideText()) return AppendMenuW(menu, MF_STRING, id, widen(text).c_str()) != FALSE;
  return AppendMenuA(menu, MF_STRING, id, systemText(widen(text)).c_str()) != FALSE;
}

void addListString(HWND list, const std::wstring& text) {
  if (usesWideText()) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  } else {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(systemText(text).c_str()));
  }
}

void selectListString(HWND list, const std::wstring& text) {
  const auto anywhere = static_cast<WPARAM>(-1);
  if (usesWideText()) {
    SendMessageW(list, LB_SELECTSTRING, anywhere, reinterpret_cast<LPARAM>(text.c_str()));
  } else {
    SendMessageA(list, LB_SELECTSTRING, anywhere, reinterpret_cast<LPARAM>(systemText(text).c_str()));
  }
}

std::optional<std::wstring> listString(HWND list, int index) {
  const auto entry = static_cast<WPARAM>(index);
  if (usesWideText()) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, entry, 0);
    if (length == LB_ERR) return std::nullopt;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(list, LB_GETTEXT, entry, reinterpret_cast<LPARAM>(&text[0]));
    if (copied == LB_ERR) return std::nullopt;
    text.resize(static_cast<std::size_t>(copied));
    return text;
  }
  const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, entry, 0);
  if (length == LB_ERR) return std::nullopt;
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied = SendMessageA(list, LB_GETTEXT, entry, reinterpret_cast<LPARAM>(&text[0]));
  if (copied == LB_ERR) return std::nullopt;
  text.resize(static_cast<std::size_t>(copied));
  return fromSystemCodePage(text);
}

HANDLE openFileForReading(const std::wstring& path) {
  constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
  if (usesWideText()) {
    return CreateFileW(path.c_str(), GENERIC_READ, kShare, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  const std::optional<std::string> narrowPath = toSystemCodePage(path);
  if (!narrowPath) return INVALID_HANDLE_VALUE;
  return CreateFileA(narrowPath->c_str(), GENERIC_READ, kShare, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

HBITMAP loadBitmapFile(const std::wstring& path) {
  if (usesWideText()) {
    return static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  }
  const std::optional<std::string> narrowPath = toSystemCodePage(path);
  if (!narrowPath) return nullptr;
  return static_cast<HBITMAP>(LoadImageA(nullptr, narrowPath->c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

namespace {
bool isSubdirectory(DWORD attributes, const std::wstring& name) {
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..";
}
}  // namespace

std::vector<std::wstring> currentSubdirectories() {
  std::vector<std::wstring> names;
  if (usesWideText()) {
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW(L"*", &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      if (isSubdirectory(entry.dwFileAttributes, entry.cFileName)) names.emplace_back(entry.cFileName);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
  }
  WIN32_FIND_DATAA entry{};
  HANDLE search = FindFirstFileA("*", &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = fromSystemCodePage(entry.cFileName);
    if (isSubdirectory(entry.dwFileAttributes, name)) names.push_back(name);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return names;
}

std::wstring moduleFileName(HMODULE module) {
  if (usesWideText()) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
      const DWORD length = GetModuleFileNameW(module, &path[0], static_cast<DWORD>(path.size()));
      if (length == 0) return {};
      if (length < path.size()) return path.substr(0, length);
      path.resize(path.size() * 2);
    }
  }
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  return fromSystemCodePage(std::string(path, length < MAX_PATH ? length : 0));
}

}  // namespace fw
