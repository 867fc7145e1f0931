#include "framework/platform_text.h"

namespace fw {
namespace {

// Whether a window shows exactly `text`: one character more than `text`
// is read, so a longer text shows as different without asking its length.
template <typename Char, typename GetText>
bool shows(const std::basic_string<Char>& text, GetText getText) {
  std::basic_string<Char> shown(text.size() + 2, Char());
  const int copied = getText(&shown[0], static_cast<int>(shown.size()));
  return copied == static_cast<int>(text.size()) && shown.compare(0, text.size(), text) == 0;
}

// A conversion asked first for its length, then for the text.
template <typename To, typename From, typename Convert>
To converted(const From& text, Convert convert) {
  if (text.empty()) return {};
  const int length = convert(text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return {};
  To result(static_cast<std::size_t>(length), typename To::value_type());
  convert(text.data(), static_cast<int>(text.size()), &result[0], length);
  return result;
}

// No flags and no used-default flag: UTF-8 and several other code pages
// refuse them, and systems before Windows 2000 know no WC_NO_BEST_FIT_CHARS.
// Whether the result is exact is told by converting it back.
std::string toBytes(UINT codePage, const std::wstring& text, WideToBytesFn convert) {
  return converted<std::string>(text, [&](const wchar_t* from, int size, char* to, int room) {
    return convert(codePage, 0, from, size, to, room, nullptr, nullptr);
  });
}

}  // namespace

bool usesWideText() {
  static const bool wide = (GetVersion() & 0x80000000u) == 0;
  return wide;
}

std::wstring fromCodePage(UINT codePage, const std::string& text) {
  return converted<std::wstring>(text, [&](const char* from, int size, wchar_t* to, int room) {
    return MultiByteToWideChar(codePage, 0, from, size, to, room);
  });
}

std::optional<std::string> toCodePage(UINT codePage, const std::wstring& text, WideToBytesFn convert) {
  std::string bytes = toBytes(codePage, text, convert);
  if (fromCodePage(codePage, bytes) != text) return std::nullopt;
  return bytes;
}

std::string systemText(const std::wstring& text) { return toBytes(CP_ACP, text, WideCharToMultiByte); }

void showText(HWND window, const std::wstring& text, NarrowShown& memo) {
  if (usesWideText()) {
    if (!shows(text, [&](wchar_t* to, int size) { return GetWindowTextW(window, to, size); })) {
      SetWindowTextW(window, text.c_str());
    }
    return;
  }
  if (memo.text != text) memo = {text, systemText(text)};
  if (!shows(memo.narrow, [&](char* to, int size) { return GetWindowTextA(window, to, size); })) {
    SetWindowTextA(window, memo.narrow.c_str());
  }
}

}  // namespace fw
