#include "framework/application.h"

#include <commctrl.h>

#include "framework/dialog.h"

namespace fw {
namespace {

Application* theApplication = nullptr;

constexpr int kAppExitCommand = 57665;

std::string moduleBaseName(HINSTANCE instance) {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD length = GetModuleFileNameA(instance, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  std::string::size_type slash = path.find_last_of("\\/:");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string::size_type dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

}  // namespace

Application::Application() { theApplication = this; }

Application::~Application() {
  if (theApplication == this) theApplication = nullptr;
}

Application* Application::current() { return theApplication; }

int Application::run(HINSTANCE instance) {
  name_ = moduleBaseName(instance);
  initInstance();
  return 0;
}

HWND Application::mainWindowHandle() const { return mainWindow_ ? mainWindow_->hwnd() : nullptr; }

bool Application::onCommand(int id) {
  if (id == kAppExitCommand) {
    onAppExit();
    return true;
  }
  return false;
}

void Application::onAppExit() {
  if (HWND main = mainWindowHandle()) SendMessageA(main, WM_CLOSE, 0, 0);
}

void initCommonControls() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
  if (!InitCommonControlsEx(&controls)) InitCommonControls();
}

int appMessageBox(const std::string& text, UINT type) {
  Application* app = Application::current();
  HWND owner = app ? app->mainWindowHandle() : nullptr;
  if (owner && !IsWindow(owner)) owner = nullptr;
  // Asked for while a secondary window is up (the settings dialog, say),
  // the box belongs to that window, which then waits under it.
  if (owner) owner = GetLastActivePopup(owner);
  const char* caption = app ? app->name().c_str() : "";
  return MessageBoxA(owner, text.c_str(), caption, type);
}

}  // namespace fw
