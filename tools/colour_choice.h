// The platform's colour chooser, as the settings dialog opens it.
#pragma once

#include <windows.h>

#include <array>

// The chooser's 16 custom colours; they start white and are kept by the
// status window for the life of the program.
using CustomColours = std::array<COLORREF, 16>;
CustomColours initialCustomColours();

// The chooser opens on the initial colour only when that colour is not
// black; black opens it on its own default.
DWORD colourChooserFlags(COLORREF initial);

// Runs the chooser modally over `owner`. True, with `colour` replaced, when
// the user accepts a colour; false leaves `colour` as it was.
bool chooseColour(HWND owner, COLORREF& colour, CustomColours& custom);
