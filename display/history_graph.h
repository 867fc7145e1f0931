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

// Four pixels per sample; load 0 lies two pixels above `bottom` and every
// five points of load raise the line by one pixel. The line is 116 pixels
// long: it starts at x = 0 in a control `width` pixels wide where it fits,
// and where it does not, it ends at the control's last column, so the
// newest samples are always on screen and the oldest are what is cut off.
GraphSegments historySegments(const CpuHistory& history, int width, int bottom);

// Fills the graph control with the background, which wipes the previous
// picture, and draws the history over it in the line colour, clipped to the
// control's client area. Nothing is kept between drawings.
void drawHistoryGraph(HWND graph, const CpuHistory& history, COLORREF lineColor, COLORREF backgroundColor);
