#include "display/face_drawing.h"

#include <cstdint>
#include <optional>

#include "display/face_file_check.h"
#include "display/face_scale.h"
#include "framework/handles.h"
#include "framework/platform_text.h"
#include "res/resource.h"

namespace {

constexpr const wchar_t* kPreviewFile = L"fine.bmp";

// Face-set names are UTF-16 whatever the code page; the 9x family's narrow
// calls take only a path its code page can spell exactly.
HANDLE openForReading(const std::wstring& path) {
  constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
  if (fw::usesWideText()) {
    return CreateFileW(path.c_str(), GENERIC_READ, kShare, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  const std::optional<std::string> narrow = fw::toCodePage(CP_ACP, path);
  return narrow ? CreateFileA(narrow->c_str(), GENERIC_READ, kShare, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr)
                : INVALID_HANDLE_VALUE;
}

// Reads only the headers, so that the platform's loader never sees a file
// that is not a whole, reasonably sized bitmap.
bool faceFileLooksLoadable(const std::wstring& path) {
  fw::File file(openForReading(path));
  if (!file || GetFileType(file.get()) != FILE_TYPE_DISK) return false;
  // GetFileSize rather than GetFileSizeEx, which Windows 95 and NT 4.0
  // lack. All ones in the low half is also a size: only the error says it
  // failed.
  DWORD high = 0;
  SetLastError(NO_ERROR);
  const DWORD low = GetFileSize(file.get(), &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
  const std::uint64_t size = (static_cast<std::uint64_t>(high) << 32) | low;
  std::uint8_t head[kFaceFileHeadBytes] = {};
  DWORD read = 0;
  if (!ReadFile(file.get(), head, sizeof head, &read, nullptr)) return false;
  return isLoadableFaceFile(head, read, size);
}

fw::Bitmap loadFaceFile(const std::wstring& path) {
  if (!faceFileLooksLoadable(path)) return fw::Bitmap();
  if (fw::usesWideText()) {
    return fw::Bitmap(static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
  }
  const std::optional<std::string> narrow = fw::toCodePage(CP_ACP, path);
  return fw::Bitmap(narrow ? static_cast<HBITMAP>(LoadImageA(nullptr, narrow->c_str(), IMAGE_BITMAP, 0, 0,
                                                             LR_LOADFROMFILE))
                           : nullptr);
}

SIZE bitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!GetObjectA(bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

// Where the face control's top-left corner lies on its dialog's surface.
// The picture is drawn on the dialog's surface, not the control's: the
// control's own surface may be clipped to its small declared size, and the
// picture must show whole.
bool faceOrigin(HWND face, HWND& dialog, POINT& origin) {
  dialog = face ? GetParent(face) : nullptr;
  if (!dialog) return false;
  origin = {0, 0};
  MapWindowPoints(face, dialog, &origin, 1);
  return true;
}

// The DPI of the dialog's surface: what the screen's DPI is to this
// program, whether Windows scales its windows or leaves that to it.
int surfaceDpi(HDC dc) { return GetDeviceCaps(dc, LOGPIXELSY); }

// Copies `width` x `height` pixels of the picture to the face's corner,
// scaled to the screen. Each pixel becomes a block of whole screen pixels,
// never a blend: sharp squares at whole scales, and between them some rows
// and columns one screen pixel wider, but only the picture's own colours.
bool copyPicture(HWND face, HBITMAP picture, int width, int height) {
  HWND dialog = nullptr;
  POINT origin{};
  if (!picture || !faceOrigin(face, dialog, origin)) return false;
  fw::WindowDc dc(dialog);
  if (!dc) return false;
  fw::MemoryDc memory(CreateCompatibleDC(dc.get()));
  if (!memory) return false;
  fw::SelectedObject selected(memory.get(), picture);
  const RECT target = facePlacement(origin, width, height, surfaceDpi(dc.get()));
  SetStretchBltMode(dc.get(), COLORONCOLOR);
  return StretchBlt(dc.get(), target.left, target.top, target.right - target.left, target.bottom - target.top,
                    memory.get(), 0, 0, width, height, SRCCOPY) != FALSE;
}

// A 48 x 48 copy of a picture that may be smaller: what lies outside the
// picture shows the dialog's colour rather than whatever face was there.
bool copyFaceSquare(HWND face, HBITMAP picture) {
  const SIZE size = bitmapSize(picture);
  const int width = size.cx < kFaceSide ? size.cx : kFaceSide;
  const int height = size.cy < kFaceSide ? size.cy : kFaceSide;
  if (!copyPicture(face, picture, width, height)) return false;
  HWND dialog = nullptr;
  POINT origin{};
  if ((width < kFaceSide || height < kFaceSide) && faceOrigin(face, dialog, origin)) {
    fw::WindowDc dc(dialog);
    if (!dc) return true;
    HBRUSH dialogColour = GetSysColorBrush(COLOR_BTNFACE);
    const RECT square = facePlacement(origin, kFaceSide, kFaceSide, surfaceDpi(dc.get()));
    const RECT shown = facePlacement(origin, width, height, surfaceDpi(dc.get()));
    const RECT right{shown.right, square.top, square.right, square.bottom};
    const RECT below{square.left, shown.bottom, shown.right, square.bottom};
    FillRect(dc.get(), &right, dialogColour);
    FillRect(dc.get(), &below, dialogColour);
  }
  return true;
}

// As a DIB section: the pixels are the same, but a device-dependent bitmap
// has the platform check its display devices as it is made and again as it
// is selected, three round trips to the window server under Wine each time.
fw::Bitmap loadBuiltinFace(int resourceId) {
  return fw::Bitmap(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

}  // namespace

void drawBuiltinFace(HWND face, int resourceId) {
  fw::Bitmap picture = loadBuiltinFace(resourceId);
  copyPicture(face, picture.get(), kFaceSide, kFaceSide);
}

bool drawFileFace(HWND face, const std::wstring& faceSetName, const wchar_t* fileName) {
  fw::Bitmap picture = loadFaceFile(faceSetName + L"\\" + fileName);
  return picture && copyFaceSquare(face, picture.get());
}

void drawFace(HWND face, FaceMood mood, const std::wstring& faceSetName) {
  if (faceSetName.empty()) {
    drawBuiltinFace(face, faceResourceId(mood));
  } else {
    drawFileFace(face, faceSetName, faceFileName(mood));
  }
}

void drawBuiltinFacePreview(HWND face) { drawBuiltinFace(face, IDB_FACE_FINE); }

bool drawFileFacePreview(HWND face, const std::wstring& faceSetName) {
  fw::Bitmap picture = loadFaceFile(faceSetName + L"\\" + kPreviewFile);
  if (!picture) return false;
  const SIZE size = bitmapSize(picture.get());
  return copyPicture(face, picture.get(), size.cx, size.cy);
}
