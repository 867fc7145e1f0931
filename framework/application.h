// The process's one application object: start-up, the application's name
// (which captions every message box) and the commands no window handles.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

class Dialog;

class Application {
 public:
  Application();
  virtual ~Application();
  Application(const Application&) = delete;

  // The one instance, or null before it is constructed.
  static Application* current();

  // Runs start-up; the process ends when this returns.
  int run(HINSTANCE instance);

  // The executable's file name without its extension.
  const std::wstring& name() const { return name_; }

  void setMainWindow(Dialog* window) { mainWindow_ = window; }
  HWND mainWindowHandle() const;

  // Commands no window handled; the standard exit command closes the main
  // window as its close box would. Returns true when handled.
  virtual bool onCommand(int id);

 protected:
  // The application's whole run: the process ends when it returns.
  virtual void initInstance() = 0;

 private:
  std::wstring name_;
  Dialog* mainWindow_ = nullptr;
};

// A message box owned by the main window (or the secondary window last
// active over it) and captioned with the application's name.
int appMessageBox(const std::wstring& text, UINT type);

}  // namespace fw
