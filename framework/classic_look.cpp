#include "framework/classic_look.h"

namespace fw {

// Wine's common controls give progress bars the desktop's visual style even
// in a program that asks for none, and a styled bar repaints by stretching
// its style's images pixel by pixel: about twice what a classic bar costs,
// at every tick and at each of the memory release's hundred positions.
// Only a theme library the process has already loaded is asked; where none
// is loaded (Windows before XP), nothing is styled in the first place.
void keepClassicLook(HWND control) {
  HMODULE themes = GetModuleHandleA("uxtheme.dll");
  if (!control || !themes) return;
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  const auto setWindowTheme =
      reinterpret_cast<SetWindowThemeFn>(reinterpret_cast<void*>(GetProcAddress(themes, "SetWindowTheme")));
  // A class list that names no class: the control finds no style to use.
  if (setWindowTheme) setWindowTheme(control, L" ", L" ");
}

}  // namespace fw
