#include "framework/control_list.h"

namespace fw {

void ControlList::fill(HWND dialog) {
  dialog_ = dialog;
  controls_.clear();
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    controls_.push_back({GetDlgCtrlID(child), child, {}});
  }
}

void ControlList::clear() {
  dialog_ = nullptr;
  controls_.clear();
}

HWND ControlList::find(int id) const {
  for (const Control& control : controls_) {
    if (control.id == id) return control.window;
  }
  return dialog_ ? GetDlgItem(dialog_, id) : nullptr;
}

HWND ControlList::next(HWND control) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i].window == control) return i + 1 < controls_.size() ? controls_[i + 1].window : nullptr;
  }
  return GetWindow(control, GW_HWNDNEXT);
}

void ControlList::show(int id, const std::wstring& text) {
  for (Control& control : controls_) {
    if (control.id == id) return showText(control.window, text, control.shown);
  }
}

}  // namespace fw
