#include "display/after_paint_hook.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "framework/platform_text.h"

namespace display {
namespace {
// The hooks attached now, found by their control. The hook procedure runs
// for every message the control gets; a window property would cost a round
// trip to the window server each time under Wine, a look-up here nothing.
// Everything runs on the one user-interface thread.
std::vector<AfterPaintHook*>& attachedHooks() {
  static std::vector<AfterPaintHook*> hooks;
  return hooks;
}

AfterPaintHook* hookOf(HWND control) {
  for (AfterPaintHook* hook : attachedHooks()) {
    if (hook->control() == control) return hook;
  }
  return nullptr;
}

// In the width the control was made in: subclassing in the other would
// have every text that passes it converted on the way.
WNDPROC subclass(HWND window, WNDPROC procedure) {
  const auto value = reinterpret_cast<LONG_PTR>(procedure);
  return reinterpret_cast<WNDPROC>(fw::usesWideText() ? SetWindowLongPtrW(window, GWLP_WNDPROC, value)
                                                      : SetWindowLongPtrA(window, GWLP_WNDPROC, value));
}

LRESULT callOriginal(WNDPROC original, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return fw::usesWideText() ? CallWindowProcW(original, window, message, wParam, lParam)
                            : CallWindowProcA(original, window, message, wParam, lParam);
}

void forget(AfterPaintHook* hook) {
  auto& hooks = attachedHooks();
  hooks.erase(std::remove(hooks.begin(), hooks.end(), hook), hooks.end());
}
}  // namespace

AfterPaintHook::~AfterPaintHook() { detach(); }

void AfterPaintHook::attach(HWND control, std::function<void()> afterPaint) {
  detach();
  if (!control || hookOf(control)) return;
  control_ = control;
  afterPaint_ = std::move(afterPaint);
  attachedHooks().push_back(this);
  original_ = subclass(control, &AfterPaintHook::hookProc);
  if (!original_) {
    forget(this);
    control_ = nullptr;
  }
}

void AfterPaintHook::detach() {
  if (!control_) return;
  if (IsWindow(control_)) subclass(control_, original_);
  forget(this);
  control_ = nullptr;
  original_ = nullptr;
}

LRESULT CALLBACK AfterPaintHook::hookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  AfterPaintHook* hook = hookOf(window);
  if (!hook) {
    return fw::usesWideText() ? DefWindowProcW(window, message, wParam, lParam)
                              : DefWindowProcA(window, message, wParam, lParam);
  }
  WNDPROC original = hook->original_;
  if (message == WM_NCDESTROY) {
    hook->detach();
    return callOriginal(original, window, message, wParam, lParam);
  }
  const LRESULT result = callOriginal(original, window, message, wParam, lParam);
  if (message == WM_PAINT && !hook->inCallback_ && hook->afterPaint_) {
    hook->inCallback_ = true;
    hook->afterPaint_();
    hook->inCallback_ = false;
  }
  return result;
}

}  // namespace display
