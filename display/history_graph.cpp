#include "display/history_graph.h"

#include "display/control_fill.h"
#include "framework/handles.h"

namespace {
constexpr int kPixelsPerSample = 4;
constexpr int kLoadPerPixel = 5;
constexpr int kBaseline = 2;

int heightOf(std::uint32_t load, int bottom) {
  return bottom - static_cast<int>(load / kLoadPerPixel) - kBaseline;
}
}  // namespace

GraphSegments historySegments(const CpuHistory& history, int bottom) {
  GraphSegments segments;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const int x = static_cast<int>(i) * kPixelsPerSample;
    segments[i] = {x, heightOf(history[i], bottom), x + kPixelsPerSample,
                   heightOf(history[i + 1], bottom)};
  }
  return segments;
}

void drawHistoryGraph(HWND dialog, int graphId, const CpuHistory& history, COLORREF lineColor,
                      COLORREF backgroundColor) {
  HWND graph = GetDlgItem(dialog, graphId);
  if (!graph) return;
  fw::Pen pen(CreatePen(PS_SOLID, 1, lineColor));
  fw::WindowDc dc(graph);
  if (!pen || !dc) return;
  fw::SelectedObject selected(dc.get(), pen.get());
  RECT client{};
  GetClientRect(graph, &client);
  // Let the control repaint itself first, which wipes the previous picture.
  RedrawWindow(graph, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  fillControlRect(dialog, backgroundColor, graphId);
  // A static control draws through its parent's surface, which is not
  // clipped to the control: the polyline is 116 pixels long whatever the
  // control's width, and must not run over the neighbouring controls.
  const int saved = SaveDC(dc.get());
  IntersectClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
  for (const GraphSegment& segment : historySegments(history, client.bottom)) {
    MoveToEx(dc.get(), segment.x1, segment.y1, nullptr);
    LineTo(dc.get(), segment.x2, segment.y2);
  }
  RestoreDC(dc.get(), saved);
}
