#include "framework/dialog.h"

#include "framework/application.h"
#include "framework/data_exchange.h"
#include "framework/handles.h"
#include "framework/platform_text.h"

namespace fw {

Dialog::Dialog(int templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

Dialog::~Dialog() = default;

INT_PTR Dialog::doModal() {
  HWND owner = parent_;
  // Like any secondary window, a dialog without a parent is owned by the
  // main window, which stays disabled while it runs.
  if (!owner) {
    if (Application* app = Application::current()) {
      HWND main = app->mainWindowHandle();
      if (main && main != window_ && IsWindow(main)) owner = main;
    }
  }
  return dialogBox(templateId_, owner, dialogProc, reinterpret_cast<LPARAM>(this));
}

bool Dialog::updateData(bool saveAndValidate) {
  DataExchange dx(controls_, saveAndValidate);
  doDataExchange(dx);
  return !dx.failed();
}

bool Dialog::onInitDialog() {
  updateData(false);
  return true;
}

void Dialog::doDataExchange(DataExchange&) {}

void Dialog::onOK() {
  if (!updateData(true)) return;
  endDialog(IDOK);
}

void Dialog::onCancel() { endDialog(IDCANCEL); }

bool Dialog::onCommand(int, int) { return false; }
bool Dialog::onSysCommand(UINT, LPARAM) { return false; }
bool Dialog::onPaint() { return false; }
void Dialog::onTimer(UINT_PTR) {}
void Dialog::onDestroy() {}
HICON Dialog::onQueryDragIcon() { return nullptr; }

INT_PTR CALLBACK Dialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    self->window_ = window;
    self->controls_.fill(window);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
  }
  if (!self) return FALSE;
  INT_PTR result = self->handleMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
    self->window_ = nullptr;
    self->controls_.clear();
  }
  return result;
}

INT_PTR Dialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      // A new top-level dialog starts centred; the initialisation may then
      // place it elsewhere.
      if (!(GetWindowLongA(window_, GWL_STYLE) & WS_CHILD)) centerOnScreen(window_);
      return onInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
      routeCommand(wParam);
      return TRUE;
    case WM_SYSCOMMAND:
      return onSysCommand(static_cast<UINT>(wParam), lParam) ? TRUE : FALSE;
    case WM_PAINT:
      return onPaint() ? TRUE : FALSE;
    case WM_TIMER:
      onTimer(wParam);
      return FALSE;
    case WM_DESTROY:
      onDestroy();
      return FALSE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      // The platform's own colours, answered here rather than left to the
      // default handling: a themed Wine looks up a property of the dialog
      // there first, one server round trip for every repaint of every
      // read-only field the tick changes.
      return static_cast<INT_PTR>(defWindowProc(window_, message, wParam, lParam));
    case WM_HELP:
      if (Application* app = Application::current()) app->onHelpKey();
      return TRUE;
    case WM_QUERYDRAGICON: {
      HICON icon = onQueryDragIcon();
      if (!icon) return FALSE;
      SetWindowLongPtrA(window_, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(icon));
      return TRUE;
    }
    default:
      if (message == liveDrawingObjectsMessage()) {
        SetWindowLongPtrA(window_, DWLP_MSGRESULT, liveDrawingObjectCount() + 1);
        return TRUE;
      }
      return FALSE;
  }
}

void Dialog::routeCommand(WPARAM wParam) {
  int id = LOWORD(wParam);
  int code = HIWORD(wParam);
  if (id == IDOK) {
    onOK();
    return;
  }
  if (id == IDCANCEL) {
    onCancel();
    return;
  }
  if (onCommand(id, code)) return;
  // Commands the window does not handle travel on to the application.
  if (Application* app = Application::current()) app->onCommand(id);
}

UINT liveDrawingObjectsMessage() {
  static const UINT message = RegisterWindowMessageA(kLiveDrawingObjectsMessage);
  return message;
}

void centerOnScreen(HWND window) {
  RECT work{};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
    work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  RECT rect{};
  GetWindowRect(window, &rect);
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  int x = work.left + (work.right - work.left - width) / 2;
  int y = work.top + (work.bottom - work.top - height) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace fw
