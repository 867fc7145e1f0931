#include "framework/application.h"

#include <commctrl.h>

#include "framework/dialog.h"
#include "framework/platform_text.h"

namespace fw {
namespace {

Application* theApplication = nullptr;

constexpr int kAppExitCommand = 57665;
constexpr int kHelpCommand = 57670;

std::wstring moduleBaseName(HINSTANCE instance) {
  const std::wstring path = moduleFileName(instance);
  const std::wstring::size_type slash = path.find_last_of(L"\\/:");
  std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  const std::wstring::size_type dot = name.rfind(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
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

void Application::onHelpKey() {
  if (HWND main = mainWindowHandle()) SendMessageA(main, WM_COMMAND, kHelpCommand, 0);
}

void Application::onAppExit() {
  if (HWND main = mainWindowHandle()) SendMessageA(main, WM_CLOSE, 0, 0);
}

void initCommonControls() {
  // The common controls of Windows 95 and NT 4.0 as shipped have no
  // InitCommonControlsEx, and a program importing it would not load there.
  using InitExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  HMODULE library = GetModuleHandleA("comctl32.dll");
  const auto initEx = library ? reinterpret_cast<InitExFn>(reinterpret_cast<void*>(
                                    GetProcAddress(library, "InitCommonControlsEx")))
                              : nullptr;
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
  if (!initEx || !initEx(&controls)) InitCommonControls();
}

int appMessageBox(const std::string& text, UINT type) { return appMessageBox(widen(text), type); }

int appMessageBox(const std::wstring& text, UINT type) {
  Application* app = Application::current();
  HWND owner = app ? app->mainWindowHandle() : nullptr;
  if (owner && !IsWindow(owner)) owner = nullptr;
  // Asked for while a secondary window is up (the settings dialog, say),
  // the box belongs to that window, which then waits under it.
  if (owner) owner = GetLastActivePopup(owner);
  return messageBox(owner, text, app ? app->name() : std::wstring(), type);
}

}  // namespace fw
