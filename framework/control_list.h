// A dialog's controls, listed once in their z-order (a template's order,
// which is also the tab order). Under Wine every look-up of a control by its
// id is a round trip to the window server, and a dialog's controls are
// fixed for its life, so the dialog lists them when it is created and finds
// them here from then on.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace fw {

class ControlList {
 public:
  // Lists the dialog's child windows as they are now.
  void fill(HWND dialog);
  void clear();

  // The first control with this id, as GetDlgItem finds it; a control the
  // list does not hold is asked of the platform.
  HWND find(int id) const;
  // The control after `control` in z-order; null after the last.
  HWND next(HWND control) const;

 private:
  HWND dialog_ = nullptr;
  std::vector<std::pair<int, HWND>> controls_;
};

}  // namespace fw
