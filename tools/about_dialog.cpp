#include "tools/about_dialog.h"

#include "framework/platform_text.h"
#include "framework/resources.h"

void addAboutItem(HWND window) {
  HMENU systemMenu = GetSystemMenu(window, FALSE);
  const std::wstring text = fw::loadString(IDS_ABOUT_MENU_ITEM);
  if (!systemMenu || text.empty()) return;
  if (fw::usesWideText()) {
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_ABOUT_SYSCOMMAND, text.c_str());
  } else {
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, IDM_ABOUT_SYSCOMMAND, fw::systemText(text).c_str());
  }
}
