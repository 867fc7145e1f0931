// The face's size on the screen. Its pictures are drawn for 96 DPI and
// grow with the screen's DPI, as the dialogs around them grow with their
// font, so a face keeps its place and its share of the window.
#pragma once

#include <windows.h>

constexpr int kFaceSide = 48;
constexpr int kFaceDesignDpi = 96;

// `length` picture pixels at `dpi`, to the nearest screen pixel. A DPI the
// platform could not tell (0) counts as 96.
constexpr int scaledFaceLength(int length, int dpi) {
  if (dpi <= 0) dpi = kFaceDesignDpi;
  return (length * dpi + kFaceDesignDpi / 2) / kFaceDesignDpi;
}

// Where the top-left `width` x `height` pixels of a face picture land: from
// the face control's corner, scaled as a whole.
constexpr RECT facePlacement(POINT corner, int width, int height, int dpi) {
  return {corner.x, corner.y, corner.x + scaledFaceLength(width, dpi), corner.y + scaledFaceLength(height, dpi)};
}
