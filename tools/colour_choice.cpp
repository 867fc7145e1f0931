#include "tools/colour_choice.h"

#include <commdlg.h>

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);
}  // namespace

CustomColours initialCustomColours() {
  CustomColours colours;
  colours.fill(kWhite);
  return colours;
}

DWORD colourChooserFlags(COLORREF initial) { return initial != 0 ? CC_RGBINIT : 0; }

bool chooseColour(HWND owner, COLORREF& colour, CustomColours& custom) {
  CHOOSECOLORA choice{};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = owner;
  choice.rgbResult = colour;
  choice.lpCustColors = custom.data();
  choice.Flags = colourChooserFlags(colour);
  if (!ChooseColorA(&choice)) return false;
  colour = choice.rgbResult;
  return true;
}
