// Text on its way between the program and the platform. The program's texts
// are UTF-16 from the source on. On the NT family they reach the platform
// through the wide calls, so the Japanese shows whatever the system's code
// page; the 9x family lacks most wide calls, so there texts go through the
// narrow calls in the system's code page, converted here, once.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace fw {

// True on the NT family; decided once for the run.
bool usesWideText();

// Text in `codePage` as UTF-16.
std::wstring fromCodePage(UINT codePage, const std::string& text);
// UTF-16 in `codePage`; nothing where that code page cannot hold every
// character exactly (a look-alike would name another file). Right for every
// code page, UTF-8 (65001) among them, which refuses flags the others take:
// `convert` lets a test hold the call to rules Wine does not enforce.
using WideToBytesFn = int(WINAPI*)(UINT, DWORD, LPCWCH, int, LPSTR, int, LPCCH, LPBOOL);
std::optional<std::string> toCodePage(UINT codePage, const std::wstring& text,
                                      WideToBytesFn convert = WideCharToMultiByte);
// The narrow calls' form of a text on the 9x family: the system's code page,
// the platform's default character for what it cannot hold.
std::string systemText(const std::wstring& text);

// A number as decimal text, the same in every code page.
template <typename Number>
std::wstring decimalText(Number value) {
  const std::string digits = std::to_string(value);
  return std::wstring(digits.begin(), digits.end());
}

// The text a window was last given and its narrow form, so that an
// unchanged text is not converted again.
struct NarrowShown {
  std::wstring text;
  std::string narrow;
};
// Shows `text` in the window unless it shows it already.
void showText(HWND window, const std::wstring& text, NarrowShown& memo);

}  // namespace fw
