#include "framework/application.h"

#include "framework/dialog.h"
#include "framework/platform_text.h"
#include "res/resource.h"

namespace fw {
namespace {

Application* theApplication = nullptr;

std::wstring moduleBaseName(HINSTANCE instance) {
  std::wstring path;
  if (usesWideText()) {
    path.resize(32768);  // the longest path the NT family knows
    path.resize(GetModuleFileNameW(instance, &path[0], static_cast<DWORD>(path.size())));
  } else {
    char narrow[MAX_PATH] = {};
    path = fromCodePage(CP_ACP, std::string(narrow, GetModuleFileNameA(instance, narrow, MAX_PATH)));
  }
  std::wstring name = path.substr(path.find_last_of(L"\\/:") + 1);
  return name.substr(0, name.rfind(L'.'));
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
  if (id != ID_APP_EXIT) return false;
  if (HWND main = mainWindowHandle()) SendMessageA(main, WM_CLOSE, 0, 0);
  return true;
}

int appMessageBox(const std::wstring& text, UINT type) {
  const Application* app = Application::current();
  // Asked for while a secondary window is up (the settings dialog, say),
  // the box belongs to that window, which then waits under it.
  HWND owner = app && IsWindow(app->mainWindowHandle()) ? GetLastActivePopup(app->mainWindowHandle()) : nullptr;
  const std::wstring caption = app ? app->name() : std::wstring();
  if (usesWideText()) return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
  return MessageBoxA(owner, systemText(text).c_str(), systemText(caption).c_str(), type);
}

}  // namespace fw
