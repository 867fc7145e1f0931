// Lays out every window of a Quimbel.exe from its own templates, in one
// language, at the DPI this process started with, and writes each text that
// its control cannot show whole: every label and button, and each read-only
// field given its widest text. Fonts and DCs do not cross processes, so
// this runs beside the program rather than reading its windows.
// Reads "fit-target.txt" of the current directory, in code page 932 as the
// tests write their texts: the program's path, the language id in hex, then
// lines "id text" giving a read-only field its widest text. Writes
// "fit-result.txt": "done" on its first line, then one line per cut text.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kDialogs[] = {102, 130, 132, 100};  // status, settings, monitor, About

INT_PTR CALLBACK quietProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

std::string utf8(const std::wstring& text) {
  std::string out(text.size() * 3 + 1, '\0');
  out.resize(static_cast<std::size_t>(
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], static_cast<int>(out.size()), nullptr, nullptr)));
  if (!out.empty()) out.pop_back();
  return out;
}

SIZE textSize(HDC dc, const std::wstring& text, UINT flags, int width) {
  RECT r{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), -1, &r, flags | DT_CALCRECT);
  return {r.right - r.left, r.bottom - r.top};
}

// The room the control's own painting gives its text, and the text's size
// as that painting lays it out; empty where the control shows no text.
bool measure(HWND control, HDC dc, SIZE& needed, SIZE& room) {
  wchar_t name[32] = {};
  GetClassNameW(control, name, 32);
  if (lstrcmpiW(name, L"Edit") == 0) {
    // A field given its widest text: one line in the edit's text area.
    wchar_t shown[512] = {};
    const int length = GetWindowTextW(control, shown, 512);
    RECT area{};
    SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    room = {area.right - area.left, area.bottom - area.top};
    GetTextExtentPoint32W(dc, shown, length, &needed);
    return length > 0;
  }
  wchar_t buffer[512] = {};
  GetWindowTextW(control, buffer, 512);
  const std::wstring text = buffer;
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  if (text.empty() || !(style & WS_VISIBLE)) return false;
  RECT client{};
  GetClientRect(control, &client);
  room = {client.right, client.bottom};
  if (lstrcmpiW(name, L"Static") == 0) {
    const LONG type = style & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT) return false;
    // As the static paints it: words wrap, and a line the control has no
    // height for is lost.
    const UINT noPrefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    const SIZE wrapped = textSize(dc, text, DT_WORDBREAK | DT_EXPANDTABS | noPrefix, room.cx);
    // What is reported is the one line the text wants; a wrap that the
    // control has the height for is whole all the same.
    needed = textSize(dc, text, DT_SINGLELINE | DT_EXPANDTABS | noPrefix, 0);
    if (wrapped.cx <= room.cx && wrapped.cy <= room.cy) needed = wrapped;
    return true;
  }
  if (lstrcmpiW(name, L"Button") != 0) return false;
  needed = textSize(dc, text, DT_SINGLELINE, 0);
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      // Inside the button's raised edge.
      room.cx -= 4;
      room.cy -= 4;
      return true;
    case BS_GROUPBOX:
      // Seven pixels in from either end of the frame's top line.
      room.cx -= 14;
      return true;
    case BS_AUTOCHECKBOX:
    case BS_CHECKBOX:
    case BS_AUTORADIOBUTTON:
    case BS_RADIOBUTTON: {
      // After the box and a gap of half a digit's width.
      const int box = 12 * GetDeviceCaps(dc, LOGPIXELSX) / 96 + 1;
      INT digit = 0;
      GetCharWidth32W(dc, L'0', L'0', &digit);
      room.cx -= box + digit / 2;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

std::wstring wide(const std::string& text) {
  std::wstring out(text.size() + 1, L'\0');
  out.resize(static_cast<std::size_t>(
      MultiByteToWideChar(932, 0, text.c_str(), -1, &out[0], static_cast<int>(out.size()))));
  if (!out.empty()) out.pop_back();
  return out;
}

int main() {
  std::ifstream target("fit-target.txt");
  std::string path, languageText, line;
  std::getline(target, path);
  std::getline(target, languageText);
  std::vector<std::pair<int, std::wstring>> widest;
  while (std::getline(target, line)) {
    const std::size_t space = line.find(' ');
    if (space != std::string::npos) widest.emplace_back(std::atoi(line.c_str()), wide(line.substr(space + 1)));
  }
  const auto language = static_cast<WORD>(std::stoul(languageText.empty() ? "0" : languageText, nullptr, 16));
  std::ostringstream report;
  HMODULE program = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  InitCommonControls();
  for (int id : kDialogs) {
    HRSRC info = program ? FindResourceExA(program, RT_DIALOG, MAKEINTRESOURCEA(id), language) : nullptr;
    const void* layout = info ? LockResource(LoadResource(program, info)) : nullptr;
    HWND dialog = layout ? CreateDialogIndirectParamW(program, static_cast<const DLGTEMPLATE*>(layout), nullptr,
                                                      quietProc, 0)
                         : nullptr;
    if (!dialog) {
      report << "dialog " << id << " could not be made, error " << GetLastError() << "\n";
      continue;
    }
    for (const auto& field : widest) {
      if (HWND edit = GetDlgItem(dialog, field.first)) SetWindowTextW(edit, field.second.c_str());
    }
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
      HDC dc = GetDC(control);
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
      SIZE needed{}, room{};
      if (measure(control, dc, needed, room) && (needed.cx > room.cx || needed.cy > room.cy)) {
        wchar_t text[512] = {};
        GetWindowTextW(control, text, 512);
        report << "dialog " << id << " control " << GetDlgCtrlID(control) << " '" << utf8(text) << "' needs "
               << needed.cx << "x" << needed.cy << ", has " << room.cx << "x" << room.cy << "\n";
      }
      SelectObject(dc, old);
      ReleaseDC(control, dc);
    }
    DestroyWindow(dialog);
  }
  std::ofstream("fit-result.txt", std::ios::binary) << "done\n" << report.str();
  return 0;
}
