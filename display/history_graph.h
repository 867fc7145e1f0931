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

// Four pixels per sample from x = 0; load 0 lies two pixels above `bottom`
// and every five points of load raise the line by one pixel.
GraphSegments historySegments(const CpuHistory& history, int bottom);

// Fills the graph control with the background, which wipes the previous
// picture, and draws the history over it in the line colour, clipped to the
// control's client area. Nothing is kept between drawings.
void drawHistoryGraph(HWND graph, const CpuHistory& history, COLORREF lineColor, COLORREF backgroundColor);
