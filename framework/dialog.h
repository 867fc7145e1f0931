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
  explicit Dialog(int templateId, HWND parent = nullptr);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Creates the window, runs its modal loop and returns the end code
  // (IDOK, IDCANCEL or -1 when the window could not be created).
  INT_PTR doModal();

  HWND hwnd() const { return window_; }
  // A control of the window, from the list made when it was created.
  HWND item(int id) const { return controls_.find(id); }

  // Members to controls (false) or controls to members (true). Returns
  // false when a validation failed; the offending control then has the focus.
  bool updateData(bool saveAndValidate);

  void endDialog(INT_PTR result) { EndDialog(window_, result); }

 protected:
  // Writes the members to the controls; returns true to let the platform
  // focus the first control.
  virtual bool onInitDialog();
  virtual void doDataExchange(DataExchange& dx);

  // Exit button and Enter: reads the controls back and ends with IDOK if
  // that succeeds.
  virtual void onOK();
  // Esc, the close box and the hidden Cancel button.
  virtual void onCancel();

  // Handlers return true when they handled the message.
  virtual bool onCommand(int id, int notifyCode);
  virtual bool onSysCommand(UINT command, LPARAM param);
  virtual bool onPaint();
  virtual void onTimer(UINT_PTR timerId);
  virtual void onDestroy();
  virtual HICON onQueryDragIcon();

 private:
  static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void routeCommand(WPARAM wParam);

  int templateId_;
  HWND parent_;
  HWND window_ = nullptr;
  ControlList controls_;
};

// Every dialog answers this registered message with one more than the
// number of drawing objects our handle wrappers hold at that moment (see
// handles.h; 0 stays the answer of a window that does not know it), so a
// test driving the program from outside can see that drawing leaks nothing.
constexpr const char kLiveDrawingObjectsMessage[] = "QuimbelLiveDrawingObjects";
UINT liveDrawingObjectsMessage();

// Centres a top-level window on the screen's work area.
void centerOnScreen(HWND window);

}  // namespace fw
