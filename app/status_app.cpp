#include "app/status_app.h"

#include <commctrl.h>

#include "app/interface_language.h"
#include "app/settings_file.h"
#include "app/status_dialog.h"
#include "framework/proc_address.h"

namespace {
// The progress bars' class. The extended call needs common controls 4.70,
// which Windows 95 and NT 4.0 lack as shipped, so it is looked up; the plain
// one is everywhere.
void initCommonControls() {
  using InitExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto initEx = fw::procAddress<InitExFn>(GetModuleHandleA("comctl32.dll"), "InitCommonControlsEx");
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  if (!initEx || !initEx(&controls)) InitCommonControls();
}
}  // namespace

void StatusApp::initInstance() {
  initCommonControls();
  chooseInterfaceLanguage(settings::pathInCurrentDirectory());
  StatusDialog dialog;
  setMainWindow(&dialog);
  dialog.doModal();
  // No message loop of our own: the process ends with the status window.
  setMainWindow(nullptr);
}
