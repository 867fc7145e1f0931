#include "display/history_graph.h"

#include "display/control_fill.h"
#include "framework/handles.h"

namespace {
constexpr int kPixelsPerSample = 4;
constexpr int kLoadPerPixel = 5;
constexpr int kBaseline = 2;

constexpr int kLineLength = kPixelsPerSample * static_cast<int>(kCpuHistoryLength - 1);

int heightOf(std::uint32_t load, int bottom) {
  return bottom - static_cast<int>(load / kLoadPerPixel) - kBaseline;
}
}  // namespace

GraphSegments historySegments(const CpuHistory& history, int width, int bottom) {
  const int lastColumn = width - 1;
  const int start = lastColumn < kLineLength ? lastColumn - kLineLength : 0;
  GraphSegments segments;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const int x = start + static_cast<int>(i) * kPixelsPerSample;
    segments[i] = {x, heightOf(history[i], bottom), x + kPixelsPerSample,
                   heightOf(history[i + 1], bottom)};
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
  // clipped to the control: the polyline is 116 pixels long whatever the
  // control's width, and must not run over the neighbouring controls.
  const int saved = SaveDC(dc.get());
  IntersectClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
  for (const GraphSegment& segment : historySegments(history, client.right, client.bottom)) {
    MoveToEx(dc.get(), segment.x1, segment.y1, nullptr);
    LineTo(dc.get(), segment.x2, segment.y2);
  }
  RestoreDC(dc.get(), saved);
}
