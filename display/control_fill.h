// Fills a child control's client area with a colour.
#pragma once

#include <windows.h>

// The platform's default pen draws a one-pixel black outline around the
// filled area.
void fillControlRect(HWND control, COLORREF colour);

// The same fill on a surface already taken for `client`, the control's
// client rectangle.
void fillControlRect(HDC dc, const RECT& client, COLORREF colour);
