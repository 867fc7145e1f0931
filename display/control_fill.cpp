#include "display/control_fill.h"

#include "framework/handles.h"

void fillControlRect(HWND control, COLORREF colour) {
  if (!control) return;
  RECT client{};
  GetClientRect(control, &client);
  fw::WindowDc dc(control);
  if (dc) fillControlRect(dc.get(), client, colour);
}

void fillControlRect(HDC dc, const RECT& client, COLORREF colour) {
  fw::Brush brush(CreateSolidBrush(colour));
  if (!brush) return;
  fw::SelectedObject selected(dc, brush.get());
  Rectangle(dc, client.left, client.top, client.right, client.bottom);
}
