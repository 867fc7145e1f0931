// A modal dialog built on a template. One static dialog procedure keeps
// `this` in the window's user data and forwards to virtual handlers; a
// handler that returns false leaves the message to default handling.
#pragma once

#include <windows.h>

#include "framework/control_list.h"

namespace fw {

class DataExchange;

class Dialog {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  virtual ~Dialog() = default;
  Dialog(const Dialog&) = delete;

  // Creates the window, owned by the main window where there is one (it
  // stays disabled meanwhile), runs its modal loop and returns the end code
  // (IDOK, IDCANCEL or -1 when the window could not be created).
  INT_PTR doModal();

  HWND hwnd() const { return window_; }
  // A control of the window, from the list made when it was created.
  HWND item(int id) const { return controls_.find(id); }

  // Members to controls, or what the user can change back to the members.
  void updateData(bool save);

 protected:
  void endDialog(INT_PTR result) { EndDialog(window_, result); }

  // Writes the members to the controls; returns true to let the platform
  // focus the first control.
  virtual bool onInitDialog() {
    updateData(false);
    return true;
  }
  virtual void doDataExchange(DataExchange&) {}

  // Exit button and Enter: reads the controls back and ends with IDOK.
  virtual void onOK() {
    updateData(true);
    endDialog(IDOK);
  }
  // Esc, the close box and the hidden Cancel button.
  virtual void onCancel() { endDialog(IDCANCEL); }

  // Handlers return true when they handled the message.
  virtual bool onCommand(int, int) { return false; }
  virtual bool onSysCommand(UINT, LPARAM) { return false; }
  virtual bool onPaint() { return false; }
  virtual void onTimer(UINT_PTR) {}
  virtual void onDestroy() {}
  virtual HICON onQueryDragIcon() { return nullptr; }

 private:
  static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void routeCommand(WPARAM wParam);

  int templateId_;
  HWND window_ = nullptr;
  ControlList controls_;
};

// Every dialog answers this registered message with one more than the
// drawing objects our handle wrappers hold (0 stays the answer of a window
// that does not know it): a test from outside sees that drawing leaks nothing.
constexpr const char kLiveDrawingObjectsMessage[] = "QuimbelLiveDrawingObjects";

}  // namespace fw
