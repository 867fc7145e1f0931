#include "display/history_graph.h"

#include "display/control_fill.h"
#include "framework/handles.h"

namespace {
// The lengths below are the ones drawn on a screen of this DPI.
constexpr int kDesignDpi = 96;
constexpr int kPixelsPerSample = 4;
constexpr int kLoadPerPixel = 5;
constexpr int kBaseline = 2;

// A length laid out for 96 DPI, in whole pixels at `dpi`.
int scaled(int length, int dpi) { return (length * dpi + kDesignDpi / 2) / kDesignDpi; }

// The margin and the load's rise are rounded together, so no level lies
// more than half a pixel from where the scale puts it.
int heightOf(std::uint32_t load, int bottom, int dpi) {
  return bottom - scaled(static_cast<int>(load / kLoadPerPixel) + kBaseline, dpi);
}

// Each sample's place is rounded from the line's start rather than step by
// step, so at a DPI that gives fractional steps the rounding cannot add up
// along the line.
int offsetOf(std::size_t sample, int dpi) { return scaled(static_cast<int>(sample) * kPixelsPerSample, dpi); }

// The DPI the control's surface is drawn at; a surface that cannot tell is
// taken for the 96 DPI the geometry was laid out for.
ScreenDpi screenDpiOf(HDC dc) {
  const int x = GetDeviceCaps(dc, LOGPIXELSX);
  const int y = GetDeviceCaps(dc, LOGPIXELSY);
  return {x > 0 ? x : kDesignDpi, y > 0 ? y : kDesignDpi};
}
}  // namespace

GraphSegments historySegments(const CpuHistory& history, int width, int bottom, ScreenDpi dpi) {
  const int length = offsetOf(kCpuHistoryLength - 1, dpi.x);
  const int lastColumn = width - 1;
  const int start = lastColumn < length ? lastColumn - length : 0;
  GraphSegments segments;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    segments[i] = {start + offsetOf(i, dpi.x), heightOf(history[i], bottom, dpi.y), start + offsetOf(i + 1, dpi.x),
                   heightOf(history[i + 1], bottom, dpi.y)};
  }
  return segments;
}

void drawHistoryGraph(HWND graph, const CpuHistory& history, COLORREF lineColor, COLORREF backgroundColor) {
  if (!graph) return;
  // A repaint the control still owes (the window has just been shown or
  // uncovered) would wipe this picture as soon as it came: it comes first.
  UpdateWindow(graph);
  fw::Pen pen(CreatePen(PS_SOLID, 1, lineColor));
  fw::WindowDc dc(graph);
  if (!pen || !dc) return;
  RECT client{};
  GetClientRect(graph, &client);
  // The fill covers the whole client area, so it wipes the previous
  // picture: making the control repaint itself first as well would only
  // paint pixels the fill paints over at once.
  fillControlRect(dc.get(), client, backgroundColor);
  fw::SelectedObject selected(dc.get(), pen.get());
  // A static control draws through its parent's surface, which is not
  // clipped to the control: the polyline's length follows the screen's DPI,
  // not the control's width, and must not run over the neighbouring
  // controls.
  const int saved = SaveDC(dc.get());
  IntersectClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
  for (const GraphSegment& segment : historySegments(history, client.right, client.bottom, screenDpiOf(dc.get()))) {
    MoveToEx(dc.get(), segment.x1, segment.y1, nullptr);
    LineTo(dc.get(), segment.x2, segment.y2);
  }
  RestoreDC(dc.get(), saved);
}
