// A dialog's controls, listed once in their z-order (the template's order).
// Under Wine every look-up of a control by its id is a round trip to the
// window server; a dialog's controls are fixed for its life, so it lists
// them when it is created and finds them here.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/platform_text.h"

namespace fw {

class ControlList {
 public:
  // Lists the dialog's child windows as they are now; clear() forgets them.
  void fill(HWND dialog);
  void clear();

  // The first control with this id, as GetDlgItem finds it; a control the
  // list does not hold is asked of the platform.
  HWND find(int id) const;
  // The control after `control` in z-order; null after the last.
  HWND next(HWND control) const;
  // Shows a text in a listed control unless it shows it already.
  void show(int id, const std::wstring& text);

 private:
  struct Control {
    int id;
    HWND window;
    NarrowShown shown;
  };
  HWND dialog_ = nullptr;
  std::vector<Control> controls_;
};

}  // namespace fw
