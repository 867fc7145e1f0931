#include "tools/about_dialog.h"

#include "framework/platform_text.h"

void addAboutItem(HWND window) {
  HMENU systemMenu = GetSystemMenu(window, FALSE);
  if (!systemMenu) return;
  // The narrow calls take the string in the system's code page, converted
  // by the platform from the resource.
  if (fw::usesWideText()) {
    wchar_t text[256] = {};
    if (LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUT_MENU_ITEM, text, 256) <= 0) return;
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_ABOUT_SYSCOMMAND, text);
  } else {
    char text[256] = {};
    if (LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUT_MENU_ITEM, text, 256) <= 0) return;
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, IDM_ABOUT_SYSCOMMAND, text);
  }
}
