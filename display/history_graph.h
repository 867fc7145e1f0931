// The CPU-load history drawn as a 29-segment polyline into a graph control.
#pragma once

#include <windows.h>

#include <array>

#include "display/cpu_history.h"

struct GraphSegment {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
};
using GraphSegments = std::array<GraphSegment, kCpuHistoryLength - 1>;

// The screen's pixels per logical inch, across and down.
struct ScreenDpi {
  int x = 96;
  int y = 96;
};

// On a 96-DPI screen: four pixels per sample; load 0 lies two pixels above
// `bottom` and every five points of load raise the line by one pixel, so
// the line is 116 pixels long. On any other screen each of these lengths
// is scaled by its DPI over 96 (across for the step, down for the heights),
// as the dialog and its controls are, so the line fills the same share of
// the control at every DPI. It starts at x = 0 in a control `width` pixels
// wide where it fits, and where it does not, it ends at the control's last
// column, so the newest samples are always on screen and the oldest are
// what is cut off.
GraphSegments historySegments(const CpuHistory& history, int width, int bottom, ScreenDpi dpi);

// Fills the graph control with the background, which wipes the previous
// picture, and draws the history over it in the line colour, clipped to the
// control's client area. Nothing is kept between drawings.
void drawHistoryGraph(HWND graph, const CpuHistory& history, COLORREF lineColor, COLORREF backgroundColor);
