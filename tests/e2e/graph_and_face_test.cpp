// End-to-end tests of what the status window draws, read from the screen:
// the load graph and the face, with the load and the free system resources
// under the test's control (Windows 98 mode, the CPU statistic in the
// dynamic-data registry, the stand-in Resource Meter).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/harness.h"
#include "tests/stand_in/stand_in_rsrc32.h"

namespace {

using e2e::Program;
using e2e::ScreenShot;
using e2e::WorkingDirectory;

constexpr COLORREF kLine = RGB(200, 0, 100);
constexpr COLORREF kBackground = RGB(0, 192, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kFaceColour = RGB(0x40, 0x80, 0xC0);
constexpr int kFaceSide = 48;
constexpr int kPolylineEnd = 116;

std::string settingsWith(const std::string& faceSet) {
  return "[GENERAL]\r\nFaceDir=" + faceSet + "\r\nLineColor=" + std::to_string(kLine) +
         "\r\nMoniterColor=" + std::to_string(kBackground) + "\r\n";
}

std::string hex(COLORREF colour) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06lX", static_cast<unsigned long>(colour));
  return text;
}

// Windows 98 with the stand-in Resource Meter: the test sets the CPU load
// and the free system resources, which together decide the face.
class Win98Machine {
 public:
  explicit Win98Machine(const WorkingDirectory& directory)
      : answers_(directory.path() + "\\rsrc32-answers.txt"), control_(stand_in::kControlVariable, answers_) {}
  ~Win98Machine() { e2e::deleteDynDataValue(kStatData, kCpuUsage); }
  Win98Machine(const Win98Machine&) = delete;
  Win98Machine& operator=(const Win98Machine&) = delete;

  bool ready() const { return meter_.installed(); }
  bool setLoad(std::uint32_t load) { return e2e::setDynDataValue(kStatData, kCpuUsage, load); }
  void setSystemResources(int percent) {
    std::ofstream file(answers_, std::ios::binary | std::ios::trunc);
    file << percent << "\r\n100\r\n100\r\n";
  }

 private:
  static constexpr const char* kStatData = "PerfStats\\StatData";
  static constexpr const char* kCpuUsage = "KERNEL\\CPUUsage";
  std::string answers_;
  e2e::ScopedEnvironment control_;
  e2e::InstalledResourceMeter meter_;
  e2e::WindowsVersionMode version_{"win98"};
};

// Starts the program and waits for its window.
bool startUp(Program& quimbel) { return quimbel.started() && quimbel.waitForStatusWindow(); }

// A screen read of `area`, and how many pixels of `part` in it differ from
// expected(x, y), counted from the part's corner, the first described. A
// tick's picture reaches the screen when the program next waits for
// messages, which can be a moment after the test's sync has returned: the
// read is repeated for up to 200 ms, far below the program's own
// one-second tick, so that a picture drawn a tick late still fails.
struct ScreenCheck {
  ScreenShot shot;
  int wrong;
  std::string first;
};

ScreenCheck checkScreen(const RECT& area, const RECT& part, const std::function<COLORREF(int, int)>& expected) {
  ScreenCheck check{ScreenShot(area), 0, {}};
  for (const DWORD start = GetTickCount();; check.shot = ScreenShot(area)) {
    check.wrong = 0;
    for (int y = 0; y < part.bottom - part.top; ++y) {
      for (int x = 0; x < part.right - part.left; ++x) {
        const COLORREF actual = check.shot.at(part.left + x, part.top + y);
        if (actual != expected(x, y) && check.wrong++ == 0) {
          check.first = "(" + std::to_string(x) + "," + std::to_string(y) + ") " + hex(actual) + ", expected " +
                        hex(expected(x, y));
        }
      }
    }
    if (check.wrong == 0 || GetTickCount() - start >= 200) return check;
    Sleep(10);
  }
}

// The graph's client area after a steady load: a one-pixel black outline,
// the line on its row across the whole width, the background everywhere
// else, and no trace of the line right of the control, where the 116-pixel
// polyline would run on unclipped.
void expectGraph(const Program& quimbel, int steadyLoad) {
  const RECT graph = quimbel.controlScreenRect(IDC_GRAPH);
  const int width = graph.right - graph.left;
  const int height = graph.bottom - graph.top;
  const int lineRow = height - steadyLoad / 5 - 2;
  const RECT around{graph.left - 4, graph.top - 4, graph.left + kPolylineEnd + 4, graph.bottom + 4};
  const ScreenCheck check = checkScreen(around, graph, [&](int x, int y) {
    const bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
    // The newest end lies on the last column at most, which stays outline.
    return y == lineRow && x < std::min(kPolylineEnd, width - 1) ? kLine : edge ? kBlack : kBackground;
  });
  EXPECT_EQ(0, check.wrong) << "graph pixels wrong for load " << steadyLoad << " (line row " << lineRow << " of "
                            << height << "); first at " << check.first;
  for (int x = graph.right; x < around.right; ++x) {
    for (int y = graph.top + lineRow - 2; y <= graph.top + lineRow + 2; ++y) {
      EXPECT_NE(kLine, check.shot.at(x, y)) << "line drawn outside the control at client x " << x - graph.left;
    }
  }
}

// After a steady load, ticks at a higher one: the two newest segments lie
// flat on the new load's row in the last columns inside the outline, with
// nothing left on the old row there. A line anchored at the left edge of a
// control narrower than itself would show the old load there.
void expectNewestAtRightEdge(const Program& quimbel, int oldLoad, int newLoad) {
  const RECT graph = quimbel.controlScreenRect(IDC_GRAPH);
  const int height = graph.bottom - graph.top;
  const int newRow = height - newLoad / 5 - 2;
  const int oldRow = height - oldLoad / 5 - 2;
  const RECT part{graph.right - 8, graph.top + newRow, graph.right - 1, graph.top + oldRow + 1};
  const ScreenCheck check =
      checkScreen(part, part, [&](int, int y) { return y == 0 ? kLine : kBackground; });
  EXPECT_EQ(0, check.wrong) << "the last columns after the load went from " << oldLoad << " to " << newLoad
                            << "; first wrong at " << check.first;
}

// The rightmost pixel of the line in a graph's client area on screen, from
// the area's corner; (-1, -1) while none shows.
POINT newestLineEnd(const RECT& graph) {
  POINT end{-1, -1};
  e2e::waitFor([&] {  // the picture may reach the screen a moment after the sync
    const ScreenShot shot(graph);
    for (LONG x = graph.left; x < graph.right; ++x) {
      for (LONG y = graph.top; y < graph.bottom; ++y) {
        if (shot.at(x, y) == kLine) end = {x - graph.left, y - graph.top};
      }
    }
    return end.x >= 0;
  }, 2000);
  return end;
}

// Classic, as Windows draws this program's bars: separate chunks of the
// highlight colour along the middle row, where a styled bar has no gaps.
void expectClassicCpuBar(const Program& quimbel) {
  const RECT bar = quimbel.controlScreenRect(IDC_CPU_LOAD_BAR);
  const COLORREF lit = GetSysColor(COLOR_HIGHLIGHT);
  int chunks = 0;
  e2e::waitFor(  // the bar's repaint may reach the screen after the tick's
      [&] {
        const ScreenShot shot(bar);
        const LONG y = (bar.top + bar.bottom) / 2;
        chunks = 0;
        for (LONG x = bar.left; x < bar.right; ++x) chunks += shot.at(x, y) == lit && shot.at(x - 1, y) != lit;
        return chunks >= 3;
      },
      3000, 25);
  EXPECT_GE(chunks, 3) << "separate chunks of the highlight colour in the CPU bar";
}

// Pixel for pixel, the 48 x 48 square at the face control's corner against
// `expected(x, y)`.
void expectFace(const Program& quimbel, const std::function<COLORREF(int, int)>& expected, const char* what) {
  const RECT face = quimbel.controlScreenRect(IDC_FACE);
  const RECT square{face.left, face.top, face.left + kFaceSide, face.top + kFaceSide};
  const ScreenCheck check = checkScreen(square, square, expected);
  EXPECT_EQ(0, check.wrong) << what << ": pixels differ, first at " << check.first;
}

// A built-in face as the program's resources hold it.
class BuiltinFace {
 public:
  explicit BuiltinFace(int id) {
    HMODULE exe = LoadLibraryExA(e2e::quimbelExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = exe ? FindResourceA(exe, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2)) : nullptr;
    const auto* bytes = found ? static_cast<const BYTE*>(LockResource(LoadResource(exe, found))) : nullptr;
    if (bytes) {
      const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
      const auto* table = reinterpret_cast<const RGBQUAD*>(bytes + header->biSize);
      const BYTE* pixels = reinterpret_cast<const BYTE*>(table + header->biClrUsed);
      for (int y = 0; y < kFaceSide; ++y) {
        for (int x = 0; x < kFaceSide; ++x) {
          const RGBQUAD& c = table[pixels[(kFaceSide - 1 - y) * kFaceSide + x]];
          colours_.push_back(RGB(c.rgbRed, c.rgbGreen, c.rgbBlue));
        }
      }
    }
    if (exe) FreeLibrary(exe);
  }
  COLORREF operator()(int x, int y) const {
    return colours_.empty() ? CLR_INVALID : colours_[static_cast<std::size_t>(y * kFaceSide + x)];
  }

 private:
  std::vector<COLORREF> colours_;
};

// What the system does when a covered window is uncovered: the whole
// window, its controls included, is invalidated and repainted. (Wine keeps
// a copy of each window's pixels and would just put them back.)
void exposeWindow(const Program& quimbel) {
  RedrawWindow(quimbel.statusWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  // The graph has begun its paint once nothing of it is left to paint;
  // the queue marker is handled only after that paint has ended.
  HWND graph = quimbel.control(IDC_GRAPH);
  EXPECT_TRUE(e2e::waitFor([&] { return !GetUpdateRect(graph, nullptr, FALSE); }, 5000))
      << "the graph was not repainted";
  quimbel.sync();
}

TEST(GraphAndFace, GraphWhereTheLoadSaysAndEachMoodsBuiltinFace) {
  WorkingDirectory directory;
  directory.writeSettings(settingsWith(""));
  Win98Machine machine(directory);
  ASSERT_TRUE(machine.ready()) << "stand-in Resource Meter not installed from '"
                               << e2e::standInResourceMeterPath() << "'";
  ASSERT_TRUE(machine.setLoad(40));
  machine.setSystemResources(100);
  // Without the font setting, as in a Wine of the user's own and with the
  // font Windows has, the window comes out narrower, and its graph control
  // too narrow for the whole line: the newest part must still show.
  e2e::ScopedUserSetting plainWine("Software\\Wine\\Fonts\\Replacements", "ＭＳ Ｐゴシック", "");
  Program quimbel(directory);
  ASSERT_TRUE(startUp(quimbel));
  const RECT graph = quimbel.controlScreenRect(IDC_GRAPH);
  ASSERT_LE(graph.right - graph.left, kPolylineEnd) << "a graph this wide shows the whole line";
  quimbel.tick(30);
  expectGraph(quimbel, 40);
  expectClassicCpuBar(quimbel);
  expectFace(quimbel, BuiltinFace(IDB_FACE_FINE), "fine, resources 100");
  ASSERT_TRUE(machine.setLoad(100));
  quimbel.tick(3);
  expectNewestAtRightEdge(quimbel, 40, 100);

  // After the window has been covered, the graph shows its background and
  // outline again before any tick (the uptime text tells a tick apart).
  bool untouchedByTicks = false;
  for (int attempt = 0; attempt < 5 && !untouchedByTicks; ++attempt) {
    const std::string uptime = quimbel.controlText(IDC_UPTIME);
    exposeWindow(quimbel);
    const RECT graph = quimbel.controlScreenRect(IDC_GRAPH);
    const int width = graph.right - graph.left;
    const int height = graph.bottom - graph.top;
    const ScreenCheck check = checkScreen(graph, graph, [&](int x, int y) {
      return x == 0 || y == 0 || x == width - 1 || y == height - 1 ? kBlack : kBackground;
    });
    untouchedByTicks = quimbel.controlText(IDC_UPTIME) == uptime;
    if (!untouchedByTicks) continue;
    EXPECT_EQ(0, check.wrong) << "outline and background after the repaint; first wrong at " << check.first;
  }
  EXPECT_TRUE(untouchedByTicks) << "a real tick came in between every time";

  struct Mood {
    std::uint32_t load;
    int resources;
    int bitmap;
    const char* what;
  };
  const Mood moods[] = {{10, 60, IDB_FACE_CALM, "calm, resources 60"},
                        {10, 30, IDB_FACE_DOWN, "down, resources 30"},
                        {80, 100, IDB_FACE_BUSY, "busy, load 80"},
                        {10, 61, IDB_FACE_FINE, "fine, resources 61"}};
  for (const Mood& mood : moods) {
    ASSERT_TRUE(machine.setLoad(mood.load));
    machine.setSystemResources(mood.resources);
    quimbel.tick();
    expectFace(quimbel, BuiltinFace(mood.bitmap), mood.what);
  }
}

// How wide the face shows from its control's corner: the run of a one-colour
// face set's colour along a row near its top, once it is `expected` wide
// within 2 pixels or two seconds have passed.
int faceWidthOnScreen(const RECT& control, int expected) {
  const int y = control.top + kFaceSide / 4;
  int width = 0;
  e2e::waitFor([&] {  // the picture may reach the screen a moment after the sync
    const ScreenShot shot({control.left, y, control.left + 2 * expected, y + 1});
    for (width = 0; shot.at(control.left + width, y) == kFaceColour;) ++width;
    return std::abs(width - expected) <= 2;
  }, 2000);
  return width;
}

// The dialogs grow with the screen's DPI, and the graph and the face with
// them: at full load the newest sample lies at the right edge and the line
// rises DPI/96 times as high as at 96 DPI (the controls' edges do not grow,
// so at 192 DPI it leaves more of the control free above it), in the status
// window and the monitor window; the face is 48 x DPI/96 pixels wide in the
// status window and in the settings dialog's preview.
TEST(GraphAndFace, GraphFillsItsFrameAndTheFaceGrowsAtEachScreenDpi) {
  WorkingDirectory directory;
  directory.writeSettings(settingsWith("Set"));
  const std::string set = directory.path() + "\\Set\\";
  CreateDirectoryA(set.c_str(), nullptr);
  for (const char* face : {"busy.bmp", "fine.bmp"}) {  // the load's face and the preview's
    e2e::writeBitmap(set + face, kFaceSide, [](int, int) { return kFaceColour; });
  }
  Win98Machine machine(directory);
  ASSERT_TRUE(machine.ready() && machine.setLoad(100));
  LONG riseAt96 = 0;
  for (const DWORD dpi : {96, 120, 144, 192}) {
    e2e::ScopedUserSetting screen("Control Panel\\Desktop", "LogPixels", dpi);  // read as a program starts
    Program quimbel(directory);
    ASSERT_TRUE(startUp(quimbel)) << dpi << " DPI";
    quimbel.tick(30);
    const int faceWidth = kFaceSide * static_cast<int>(dpi) / 96;
    EXPECT_NEAR(faceWidth, faceWidthOnScreen(quimbel.controlScreenRect(IDC_FACE), faceWidth), 2)
        << "status window's face, " << dpi << " DPI";
    const auto expectFilled = [&](const RECT& graph, const char* window) {
      const POINT end = newestLineEnd(graph);
      const LONG rise = graph.bottom - graph.top - end.y;
      EXPECT_GE(end.x, graph.right - graph.left - 4) << window << ", " << dpi << " DPI: newest sample at " << end.x;
      if (riseAt96 == 0) {  // the first graph, at 96 DPI, is the measure
        riseAt96 = rise;
      } else {
        EXPECT_NEAR(riseAt96 * static_cast<LONG>(dpi) / 96, rise, 2)
            << window << ", " << dpi << " DPI: full load in row " << end.y;
      }
    };
    expectFilled(quimbel.controlScreenRect(IDC_GRAPH), "status window");

    quimbel.menuCommand(ID_SETTINGS);
    HWND settings = quimbel.waitForWindowCaptioned("設定ダイアログ");
    ASSERT_TRUE(settings) << dpi << " DPI";
    const RECT preview = e2e::clientScreenRect(GetDlgItem(settings, IDC_FACE_PREVIEW));
    EXPECT_NEAR(faceWidth, faceWidthOnScreen(preview, faceWidth), 2) << "settings dialog's preview, " << dpi << " DPI";
    Program::clickIn(settings, IDCANCEL);
    ASSERT_TRUE(e2e::waitFor([&] { return !IsWindow(settings); })) << dpi << " DPI";

    quimbel.clickWithoutWaiting(IDC_MONITOR);
    HWND monitor = quimbel.waitForWindowCaptioned("QuimbelUtilityモニター");
    ASSERT_TRUE(monitor) << dpi << " DPI";
    expectFilled(e2e::clientScreenRect(GetDlgItem(monitor, IDC_GRAPH)), "monitor window");
  }
}

using e2e::writeBitmap;

COLORREF gradient(int x, int y) { return RGB(x * 4, y * 4, 77); }

TEST(GraphAndFace, FaceSetFromItsDirectory) {
  WorkingDirectory directory;
  directory.writeSettings(settingsWith("Set"));
  const std::string set = directory.path() + "\\Set\\";
  CreateDirectoryA(set.c_str(), nullptr);
  // fine: 64 x 64, of which the top-left 48 x 48 shows; busy is missing;
  // calm is cut short; down declares 4000 x 4000 pixels.
  writeBitmap(set + "fine.bmp", 64, gradient);
  writeBitmap(set + "calm.bmp", 48, gradient);
  {
    std::ifstream whole(set + "calm.bmp", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
    std::ofstream(set + "calm.bmp", std::ios::binary | std::ios::trunc) << bytes.substr(0, bytes.size() / 2);
  }
  writeBitmap(set + "down.bmp", 4, gradient);
  {
    std::fstream down(set + "down.bmp", std::ios::binary | std::ios::in | std::ios::out);
    const std::int32_t huge = 4000;
    down.seekp(18);
    down.write(reinterpret_cast<const char*>(&huge), sizeof huge);
    down.write(reinterpret_cast<const char*>(&huge), sizeof huge);
  }
  Win98Machine machine(directory);
  ASSERT_TRUE(machine.ready());
  ASSERT_TRUE(machine.setLoad(10));
  machine.setSystemResources(100);
  Program quimbel(directory);
  ASSERT_TRUE(startUp(quimbel));
  quimbel.tick();
  expectFace(quimbel, gradient, "the set's fine.bmp, top-left 48 x 48");
  const RECT face = quimbel.controlScreenRect(IDC_FACE);
  EXPECT_NE(gradient(kFaceSide, 10), e2e::screenPixel(face.left + kFaceSide, face.top + 10))
      << "column 48 of the 64-pixel picture is drawn";

  const long drawingObjects = e2e::liveDrawingObjectsAnswer(quimbel.statusWindow());
  ASSERT_GE(drawingObjects, 1) << "the program does not answer the drawing-object question";
  struct Failure {
    std::uint32_t load;
    int resources;
    const char* what;
  };
  for (const Failure& failure : {Failure{80, 100, "busy.bmp missing"}, Failure{10, 50, "calm.bmp cut short"},
                                 Failure{10, 20, "down.bmp 4000 x 4000"}}) {
    ASSERT_TRUE(machine.setLoad(failure.load));
    machine.setSystemResources(failure.resources);
    quimbel.tick(100);
    EXPECT_EQ(std::to_string(failure.load), quimbel.controlText(IDC_CPU_LOAD)) << failure.what;
    expectFace(quimbel, gradient, failure.what);
    EXPECT_EQ(drawingObjects, e2e::liveDrawingObjectsAnswer(quimbel.statusWindow())) << failure.what;
  }
}

TEST(GraphAndFace, ThousandsOfTicksLeaveNoDrawingObjectBehind) {
  WorkingDirectory directory;
  directory.writeSettings(settingsWith(""));
  Win98Machine machine(directory);
  ASSERT_TRUE(machine.ready());
  ASSERT_TRUE(machine.setLoad(65));
  machine.setSystemResources(100);
  Program quimbel(directory);
  ASSERT_TRUE(startUp(quimbel));
  const long before = e2e::liveDrawingObjectsAnswer(quimbel.statusWindow());
  ASSERT_GE(before, 1) << "the program does not answer the drawing-object question";
  quimbel.tick(3000);
  EXPECT_EQ(before, e2e::liveDrawingObjectsAnswer(quimbel.statusWindow()));
  expectGraph(quimbel, 65);
  expectFace(quimbel, BuiltinFace(IDB_FACE_BUSY), "busy after 3000 ticks");
}

}  // namespace
