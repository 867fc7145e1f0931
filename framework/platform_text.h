// Text on its way between the program and the platform, and the one place
// that decides how it travels. The program's own texts are Japanese in code
// page 932 (as the sources are compiled); names the platform hands over,
// such as folder names, are UTF-16. On the NT family every text reaches the
// platform as UTF-16 through the wide calls, so the Japanese shows whatever
// the system's code page. The 9x family lacks most wide calls: there texts
// go through the narrow calls in the system's code page, as they always
// have (on a Japanese system, the very bytes of the program's texts).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace fw {

// True on the NT family; decided once for the run.
bool usesWideText();

// The program's own text (code page 932) as UTF-16, and back.
std::wstring widen(const std::string& text);
std::string narrow(const std::wstring& text);
// Text in the system's ANSI code page, the narrow calls' own, as UTF-16; and
// UTF-16 in that code page, or nothing where some character has no exact
// form there (no look-alikes, no default characters).
std::wstring fromSystemCodePage(const std::string& text);
std::optional<std::string> toSystemCodePage(const std::wstring& text);

// A window's text, read as the program's text; and set from it.
std::string windowText(HWND window);
void setWindowText(HWND window, const std::string& text);

int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);

// A modal dialog from a template of the program's own resources. Its
// dialog procedure, the subclassing of its controls and their default
// handling take the messages in the same width.
INT_PTR dialogBox(int templateId, HWND owner, DLGPROC procedure, LPARAM param);
LRESULT defWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Replaces the window's procedure; returns the one it had (null on failure).
WNDPROC subclassWindow(HWND window, WNDPROC procedure);
LRESULT callWindowProc(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A string resource of the program, as its text; empty when missing.
std::string loadString(UINT id);
bool appendMenuItem(HMENU menu, UINT id, const std::string& text);

// List boxes holding names.
void addListString(HWND list, const std::wstring& text);
void selectListString(HWND list, const std::wstring& text);
// The entry's text; nothing for an index the list does not hold.
std::optional<std::wstring> listString(HWND list, int index);

// Files named in UTF-16, whatever the code page.
HANDLE openFileForReading(const std::wstring& path);
HBITMAP loadBitmapFile(const std::wstring& path);
// The sub-directories of the current directory (not "." or ".."), in the
// order the file system lists them.
std::vector<std::wstring> currentSubdirectories();
// The path of a module of this process.
std::wstring moduleFileName(HMODULE module);

}  // namespace fw
