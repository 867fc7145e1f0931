// Fills a child control's client area with a colour.
#pragma once

#include <windows.h>

// The platform's default pen draws a one-pixel black outline around the
// filled area.
void fillControlRect(HWND dialog, COLORREF colour, int controlId);
