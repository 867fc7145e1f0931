// Draws a face picture into a dialog's face control: a built-in bitmap
// resource or a file of a face set, each picture pixel grown to the
// screen's DPI (display/face_scale.h). Pictures are drawn on the dialog's
// surface with their top-left corner on the control's, so they
// spill past the control's small declared size over the free space the
// templates leave for them (so the dialog must not clip its children);
// nothing is cached, every call loads and releases afresh.
#pragma once

#include <windows.h>

#include <string>

#include "display/face_mood.h"

// Copies the top-left 48 x 48 pixels of built-in bitmap `resourceId`.
void drawBuiltinFace(HWND face, int resourceId);

// Copies the top-left 48 x 48 pixels of "<faceSetName>\<fileName>"; where
// the picture is smaller, the rest of the square shows the dialog's face
// colour. A file that is missing, not a bitmap, truncated, or larger than a
// face picture may be is not read at all. False when nothing was drawn.
bool drawFileFace(HWND face, const std::wstring& faceSetName, const wchar_t* fileName);

// The face of `mood`: built in where no face set is chosen (an empty name),
// else the face set's file, which leaves the face as it was when it cannot
// be drawn.
void drawFace(HWND face, FaceMood mood, const std::wstring& faceSetName);

// The settings dialog's previews: the built-in fine face, and a face set's
// "fine.bmp" at its own size (false when nothing was drawn).
void drawBuiltinFacePreview(HWND face);
bool drawFileFacePreview(HWND face, const std::wstring& faceSetName);
