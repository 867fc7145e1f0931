#include "display/control_fill.h"

#include "framework/handles.h"

void fillControlRect(HWND dialog, COLORREF colour, int controlId) {
  HWND control = GetDlgItem(dialog, controlId);
  if (!control) return;
  RECT client{};
  GetClientRect(control, &client);
  fw::Brush brush(CreateSolidBrush(colour));
  fw::WindowDc dc(control);
  if (!dc || !brush) return;
  fw::SelectedObject selected(dc.get(), brush.get());
  Rectangle(dc.get(), client.left, client.top, client.right, client.bottom);
}
