// Keeps a common control drawn the classic way.
#pragma once

#include <windows.h>

namespace fw {

// The control draws itself without a visual style, as Windows draws every
// control of a program that asks for no newer common controls, this one.
void keepClassicLook(HWND control);

}  // namespace fw
