// The About box: the program's name, version and icon, closed with OK; and
// the item of the status window's system menu that opens it.
#pragma once

#include <windows.h>

#include "framework/dialog.h"
#include "res/resource.h"

class AboutDialog : public fw::Dialog {
 public:
  AboutDialog() : fw::Dialog(IDD_ABOUT) {}
};

// Appends a separator and the About item (string IDS_ABOUT_MENU_ITEM) to
// the window's system menu; nothing where the string is missing.
void addAboutItem(HWND window);

// The system command of the About item; the low four bits are the
// system's own and are ignored.
constexpr bool isAboutSysCommand(unsigned int command) { return (command & 0xFFF0u) == IDM_ABOUT_SYSCOMMAND; }
