#include "framework/dialog.h"

#include "framework/application.h"
#include "framework/data_exchange.h"
#include "framework/handles.h"
#include "framework/platform_text.h"
#include "framework/resources.h"
#include "res/resource.h"

namespace fw {

INT_PTR Dialog::doModal() {
  const Application* app = Application::current();
  HWND owner = app && IsWindow(app->mainWindowHandle()) ? app->mainWindowHandle() : nullptr;
  // The template in the run's language. Its texts and font name reach a
  // wide dialog unconverted; the narrow call shows them in the system's
  // code page.
  const auto* layout = static_cast<const DLGTEMPLATE*>(findResource(RT_DIALOG, templateId_));
  if (!layout) return -1;
  const auto param = reinterpret_cast<LPARAM>(this);
  return usesWideText() ? DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout, owner, dialogProc, param)
                        : DialogBoxIndirectParamA(GetModuleHandleA(nullptr), layout, owner, dialogProc, param);
}

void Dialog::updateData(bool save) {
  DataExchange dx(controls_, save);
  doDataExchange(dx);
}

INT_PTR CALLBACK Dialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* opening = reinterpret_cast<Dialog*>(lParam);
    opening->window_ = window;
    opening->controls_.fill(window);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
  }
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
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
      // The platform's own colours, answered here: a themed Wine's default
      // handling first looks up a property of the dialog, a server round
      // trip for every repaint of every field a tick changes. No text is
      // involved, so the narrow call serves either width.
      return static_cast<INT_PTR>(DefWindowProcA(window_, message, wParam, lParam));
    case WM_HELP:
      // F1 in any window opens what the main window's Help button opens.
      if (const Application* app = Application::current()) {
        SendMessageA(app->mainWindowHandle(), WM_COMMAND, ID_HELP, 0);
      }
      return TRUE;
    case WM_QUERYDRAGICON: {
      HICON icon = onQueryDragIcon();
      if (!icon) return FALSE;
      SetWindowLongPtrA(window_, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(icon));
      return TRUE;
    }
    default:
      static const UINT liveDrawingObjectsMessage = RegisterWindowMessageA(kLiveDrawingObjectsMessage);
      if (message == liveDrawingObjectsMessage) {
        SetWindowLongPtrA(window_, DWLP_MSGRESULT, liveDrawingObjects.load() + 1);
        return TRUE;
      }
      return FALSE;
  }
}

void Dialog::routeCommand(WPARAM wParam) {
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  if (id == IDOK) {
    onOK();
  } else if (id == IDCANCEL) {
    onCancel();
  } else if (!onCommand(id, code)) {
    // Commands the window does not handle travel on to the application.
    if (Application* app = Application::current()) app->onCommand(id);
  }
}

}  // namespace fw
