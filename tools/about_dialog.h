// The About box: the program's name, version and icon, closed with OK.
#pragma once

#include "framework/dialog.h"
#include "res/resource.h"

class AboutDialog : public fw::Dialog {
 public:
  AboutDialog();
};

// The system command of the About item; the low four bits are the
// system's own and are ignored.
constexpr bool isAboutSysCommand(unsigned int command) { return (command & 0xFFF0u) == IDM_ABOUT_SYSCOMMAND; }
