// Draws onto a child control right after the control has painted itself.
//
// Static controls erase and paint their whole area in their own WM_PAINT,
// which comes after the dialog's: a picture the dialog draws in its own
// paint handler is wiped as soon as the control paints. A window that keeps
// a picture on a control (the status window's graph background, the
// monitor window's graph) attaches a hook to that control instead:
//
//   graphHook.attach(item(IDC_GRAPH), [this] { fillControlRect(...); });
//
// The hook subclasses the control; after every WM_PAINT the control has
// handled, it calls the callback. Should the callback make the control
// repaint at once, the nested paint does not call it again. The hook lets
// go of the control when either ends; one control takes one hook.
#pragma once

#include <windows.h>

#include <functional>

namespace display {

class AfterPaintHook {
 public:
  AfterPaintHook() = default;
  ~AfterPaintHook();
  AfterPaintHook(const AfterPaintHook&) = delete;
  AfterPaintHook& operator=(const AfterPaintHook&) = delete;

  // Hooks `control` (a previous control is let go first); a control that
  // is missing, already hooked or cannot be subclassed stays as it is.
  void attach(HWND control, std::function<void()> afterPaint);
  void detach();
  HWND control() const { return control_; }

 private:
  static LRESULT CALLBACK hookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND control_ = nullptr;
  WNDPROC original_ = nullptr;
  std::function<void()> afterPaint_;
  bool inCallback_ = false;
};

}  // namespace display
