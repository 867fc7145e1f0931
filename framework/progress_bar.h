// A progress bar control: the handle and the one call the program makes.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace fw {

class ProgressBar {
 public:
  void attach(HWND window) { window_ = window; }
  void setPos(int position) const {
    if (window_) SendMessageA(window_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  }

 private:
  HWND window_ = nullptr;
};

}  // namespace fw
