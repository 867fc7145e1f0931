// Face-set pictures drawn into a real window of this process.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <tuple>

#include "display/face_drawing.h"
#include "display/face_scale.h"
#include "res/resource.h"

namespace {

COLORREF gradient(int x, int y) { return RGB(x * 3, y * 3, 90); }

// A 24-bit, bottom-up file of side x side pixels coloured by gradient().
void writePicture(const std::wstring& path, int side) {
  const int rowBytes = (side * 3 + 3) / 4 * 4;
  BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  file.bfSize = file.bfOffBits + static_cast<DWORD>(rowBytes * side);
  BITMAPINFOHEADER info{sizeof info, side, side, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  for (int y = side - 1; y >= 0; --y) {
    std::string row(static_cast<std::size_t>(rowBytes), '\0');
    for (int x = 0; x < side; ++x) {
      row[static_cast<std::size_t>(x * 3)] = static_cast<char>(GetBValue(gradient(x, y)));
      row[static_cast<std::size_t>(x * 3 + 1)] = static_cast<char>(GetGValue(gradient(x, y)));
      row[static_cast<std::size_t>(x * 3 + 2)] = static_cast<char>(GetRValue(gradient(x, y)));
    }
    out << row;
  }
}

// The face grows with the DPI from its corner, to the nearest pixel; at 96
// DPI, or when the DPI is unknown (0), every picture pixel is one pixel.
TEST(FaceDrawing, ScaledFromTheControlsCornerByTheScreensDpi) {
  const struct {
    int dpi, width, height, right, bottom;  // from a corner at (10, 20)
  } cases[] = {{96, 48, 48, 58, 68},   {0, 48, 48, 58, 68},    {120, 48, 48, 70, 80},  {144, 48, 48, 82, 92},
               {192, 48, 48, 106, 116}, {120, 10, 64, 23, 100}, {144, 64, 3, 106, 25}};
  for (const auto& c : cases) {
    const RECT placed = facePlacement({10, 20}, c.width, c.height, c.dpi);
    EXPECT_EQ(std::make_tuple(10L, 20L, LONG{c.right}, LONG{c.bottom}),
              std::make_tuple(placed.left, placed.top, placed.right, placed.bottom))
        << c.width << " x " << c.height << " at " << c.dpi << " DPI";
  }
}

TEST(FaceDrawing, StatusFaceShows48PixelsThePreviewTheWholePicture) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  // A name the system's code page cannot spell: the set is still drawn.
  const std::wstring set = std::wstring(temp) + L"quimbel-face-caf\u00e9-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(set.c_str(), nullptr);
  writePicture(set + L"\\fine.bmp", 64);

  HWND dialog = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 120, 120, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(nullptr, dialog);
  HWND face = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, 10, 10, 20, 23, dialog,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FACE)), nullptr, nullptr);
  HDC dc = GetDC(dialog);
  auto shown = [&](int x, int y) { return GetPixel(dc, 10 + x, 10 + y); };

  EXPECT_FALSE(drawFileFace(face, set, L"busy.bmp")) << "a missing file draws nothing";
  ASSERT_TRUE(drawFileFace(face, set, L"fine.bmp"));
  EXPECT_EQ(gradient(47, 47), shown(47, 47)) << "the face's last pixel, past the small control";
  EXPECT_NE(gradient(50, 20), shown(50, 20)) << "column 50 of the picture drawn as the face";
  ASSERT_TRUE(drawFileFacePreview(face, set));
  EXPECT_EQ(gradient(50, 20), shown(50, 20)) << "the preview shows the picture at its own size";
  EXPECT_EQ(gradient(63, 63), shown(63, 63));

  ReleaseDC(dialog, dc);
  DestroyWindow(dialog);
  DeleteFileW((set + L"\\fine.bmp").c_str());
  RemoveDirectoryW(set.c_str());
}

}  // namespace
