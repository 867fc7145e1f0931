#include "display/after_paint_hook.h"

#include <utility>

namespace display {
namespace {
// The hook's address rides on the control as a window property.
constexpr const char* kHookProperty = "QuimbelAfterPaintHook";
}  // namespace

AfterPaintHook::~AfterPaintHook() { detach(); }

bool AfterPaintHook::attach(HWND control, std::function<void()> afterPaint) {
  detach();
  if (!control || !SetPropA(control, kHookProperty, this)) return false;
  control_ = control;
  afterPaint_ = std::move(afterPaint);
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfterPaintHook::hookProc)));
  if (!original_) {
    RemovePropA(control, kHookProperty);
    control_ = nullptr;
    return false;
  }
  return true;
}

void AfterPaintHook::detach() {
  if (!control_) return;
  if (IsWindow(control_)) {
    SetWindowLongPtrA(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    RemovePropA(control_, kHookProperty);
  }
  control_ = nullptr;
  original_ = nullptr;
}

LRESULT CALLBACK AfterPaintHook::hookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* hook = static_cast<AfterPaintHook*>(GetPropA(window, kHookProperty));
  if (!hook) return DefWindowProcA(window, message, wParam, lParam);
  WNDPROC original = hook->original_;
  if (message == WM_NCDESTROY) {
    hook->detach();
    return CallWindowProcA(original, window, message, wParam, lParam);
  }
  const LRESULT result = CallWindowProcA(original, window, message, wParam, lParam);
  if (message == WM_PAINT && !hook->inCallback_ && hook->afterPaint_) {
    hook->inCallback_ = true;
    hook->afterPaint_();
    hook->inCallback_ = false;
  }
  return result;
}

}  // namespace display
