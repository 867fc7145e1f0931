// Reads the status window's template (dialog 102) back from the executable
// and compares it, control by control, with the layout the window is
// designed for. The expected values are written out here rather than shared
// with the resource script, so a slip in the script shows up.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>

#include "tests/resources/dialog_template.h"
#include "tests/resources/resource_test_support.h"

namespace resources {
namespace {

constexpr WORD kStatusDialog = 102;
constexpr WORD kStatusMenu = 131;

// What a control's kind says about its class and style bits.
struct ControlKind {
  const char* description;
  const wchar_t* windowClass;  // lower case
  DWORD typeMask;              // bits holding the button, static or alignment type
  DWORD type;
  DWORD styleRequired;
  DWORD styleForbidden;
  DWORD exStyleRequired;
  DWORD exStyleForbidden;
  bool visible;
};

constexpr DWORD kEditAlignment = ES_LEFT | ES_CENTER | ES_RIGHT;
constexpr DWORD kEdges = WS_EX_STATICEDGE | WS_EX_CLIENTEDGE;
constexpr DWORD kProgressBar = 0;  // no type bits of its own

constexpr ControlKind readOnlyEdit(const char* description, DWORD alignment, bool staticEdge, bool tabStop) {
  return {description,
          L"edit",
          kEditAlignment,
          alignment,
          static_cast<DWORD>(ES_READONLY) | (tabStop ? static_cast<DWORD>(WS_TABSTOP) : 0),
          static_cast<DWORD>(WS_BORDER) | (tabStop ? 0 : static_cast<DWORD>(WS_TABSTOP)),
          staticEdge ? static_cast<DWORD>(WS_EX_STATICEDGE) : 0,
          staticEdge ? static_cast<DWORD>(WS_EX_CLIENTEDGE) : kEdges,
          true};
}

constexpr ControlKind kDefaultPushButton{
    "default push button", L"button", BS_TYPEMASK, BS_DEFPUSHBUTTON, WS_TABSTOP, 0, 0, 0, true};
constexpr ControlKind kPushButton{"push button", L"button", BS_TYPEMASK, BS_PUSHBUTTON, WS_TABSTOP, 0, 0, 0, true};
constexpr ControlKind kHiddenPushButton{
    "push button, hidden", L"button", BS_TYPEMASK, BS_PUSHBUTTON, WS_TABSTOP, 0, 0, 0, false};
constexpr ControlKind kFirstAutoRadio{"auto radio button, starts a group",
                                      L"button",
                                      BS_TYPEMASK,
                                      BS_AUTORADIOBUTTON,
                                      WS_GROUP | WS_TABSTOP,
                                      0,
                                      0,
                                      0,
                                      true};
// WS_GROUP here would split the unit buttons into separate groups.
constexpr ControlKind kAutoRadio{
    "auto radio button", L"button", BS_TYPEMASK, BS_AUTORADIOBUTTON, 0, WS_GROUP, 0, 0, true};
constexpr ControlKind kAutoCheckBox{
    "auto check box", L"button", BS_TYPEMASK, BS_AUTOCHECKBOX, WS_TABSTOP, 0, 0, 0, true};
constexpr ControlKind kGroupBox{"group box", L"button", BS_TYPEMASK, BS_GROUPBOX, 0, 0, 0, 0, true};
constexpr ControlKind kLabel{"label", L"static", SS_TYPEMASK, SS_LEFT, 0, 0, 0, 0, true};
constexpr ControlKind kCentredLabel{"label, centred", L"static", SS_TYPEMASK, SS_CENTER, 0, 0, 0, 0, true};
constexpr ControlKind kGraphArea{
    "static, sunken, client edge", L"static", 0, 0, SS_SUNKEN, WS_BORDER, WS_EX_CLIENTEDGE, 0, true};
constexpr ControlKind kFaceBitmap{"static, bitmap", L"static", SS_TYPEMASK, SS_BITMAP, 0, 0, 0, 0, true};
constexpr ControlKind kBorderedProgress{"progress bar, bordered",
                                        L"msctls_progress32",
                                        kProgressBar,
                                        0,
                                        WS_BORDER,
                                        PBS_SMOOTH | PBS_VERTICAL,
                                        0,
                                        kEdges,
                                        true};
constexpr ControlKind kSmoothProgress{"progress bar, smooth, no border",
                                      L"msctls_progress32",
                                      kProgressBar,
                                      0,
                                      PBS_SMOOTH,
                                      WS_BORDER | PBS_VERTICAL,
                                      0,
                                      kEdges,
                                      true};
constexpr ControlKind kLeftEdit = readOnlyEdit("read-only edit, left, static edge", ES_LEFT, true, true);
constexpr ControlKind kRightEdit = readOnlyEdit("read-only edit, right-aligned, static edge", ES_RIGHT, true, true);
constexpr ControlKind kRightEditNoTab =
    readOnlyEdit("read-only edit, right-aligned, static edge, no tab stop", ES_RIGHT, true, false);
constexpr ControlKind kLeftEditNoEdge = readOnlyEdit("read-only edit, left, no edge", ES_LEFT, false, true);
constexpr ControlKind kRightEditNoEdge = readOnlyEdit("read-only edit, right-aligned, no edge", ES_RIGHT, false, true);
constexpr ControlKind kLeftEditNoEdgeNoTab =
    readOnlyEdit("read-only edit, left, no edge, no tab stop", ES_LEFT, false, false);

struct ExpectedControl {
  int id;  // -1: a label without an id
  const ControlKind& kind;
  const wchar_t* text;
  short x, y, cx, cy;
};

// Template order, which is also the tab order.
const ExpectedControl kStatusControls[] = {
    {1, kDefaultPushButton, L"終了(&Q)", 138, 22, 50, 14},  // Exit, also the Enter key
    {2, kHiddenPushButton, L"ｷｬﾝｾﾙ", 138, 38, 50, 14},      // Cancel, only for Esc and the close box
    {57670, kPushButton, L"ヘルプ(&H)", 138, 55, 50, 14},
    {1038, kPushButton, L"モニター(&D)", 143, 116, 39, 14},
    {1024, kFirstAutoRadio, L"&Byte", 104, 151, 30, 10},
    {1025, kAutoRadio, L"&KB", 134, 151, 25, 10},
    {1026, kAutoRadio, L"&MB", 158, 151, 26, 10},
    {-1, kLabel, L"OS", 7, 9, 10, 8},
    {1013, kLeftEdit, L"", 18, 7, 54, 12},   // OS name
    {1019, kLeftEdit, L"", 77, 7, 104, 12},  // OS version
    {-1, kGroupBox, L"CPU", 7, 22, 130, 63},
    {-1, kLabel, L"名前", 10, 34, 15, 8},
    {1001, kLeftEdit, L"", 30, 32, 101, 12},  // processor name
    {-1, kLabel, L"使用率", 11, 52, 23, 8},
    {1000, kRightEditNoTab, L"", 35, 50, 16, 12},  // CPU load
    {-1, kCentredLabel, L"%", 55, 52, 8, 8},
    {1032, kGraphArea, L"", 64, 47, 70, 20},
    {1015, kBorderedProgress, L"Progress1", 12, 71, 121, 10},  // CPU load bar
    {-1, kGroupBox, L"残りリソース", 7, 88, 130, 58},
    {-1, kLabel, L"システム", 11, 100, 28, 8},
    {1002, kRightEditNoTab, L"", 41, 98, 16, 12},
    {-1, kCentredLabel, L"%", 58, 100, 8, 8},
    {1016, kBorderedProgress, L"Progress1", 68, 100, 65, 10},
    {-1, kLabel, L"GDI", 11, 116, 12, 8},
    {1003, kRightEditNoTab, L"", 41, 114, 16, 12},
    {-1, kCentredLabel, L"%", 58, 116, 8, 8},
    {1017, kBorderedProgress, L"Progress1", 68, 114, 65, 10},
    {-1, kLabel, L"ユーザー", 11, 132, 29, 8},
    {1004, kRightEditNoTab, L"", 41, 130, 16, 12},
    {-1, kCentredLabel, L"%", 58, 132, 8, 8},
    {1018, kBorderedProgress, L"Progress1", 68, 130, 65, 10},
    {-1, kLabel, L"空きメモリ比率", 7, 152, 47, 8},
    {1005, kRightEditNoTab, L"", 55, 150, 16, 12},  // memory load
    {-1, kLabel, L"物理メモリ", 7, 168, 33, 8},
    {1006, kRightEdit, L"", 41, 166, 62, 12},
    {1023, kLabel, L"Byte", 104, 168, 15, 8},
    {-1, kLabel, L"物理空き", 121, 168, 29, 8},
    {1007, kRightEdit, L"", 151, 166, 62, 12},
    {1027, kLabel, L"Byte", 214, 168, 15, 8},
    {-1, kLabel, L"仮想メモリ", 7, 184, 33, 8},
    {1008, kRightEdit, L"", 41, 182, 62, 12},  // page file total
    {1028, kLabel, L"Byte", 104, 184, 15, 8},
    {-1, kLabel, L"仮想空き", 121, 184, 29, 8},
    {1009, kRightEdit, L"", 151, 182, 62, 12},  // page file free
    {1029, kLabel, L"Byte", 214, 184, 15, 8},
    {-1, kLabel, L"合計メモリ", 7, 200, 33, 8},
    {1010, kRightEdit, L"", 41, 198, 62, 12},  // virtual total
    {1030, kLabel, L"Byte", 104, 200, 15, 8},
    {-1, kLabel, L"合計空き", 121, 200, 29, 8},
    {1011, kRightEdit, L"", 151, 198, 62, 12},  // virtual free
    {1031, kLabel, L"Byte", 214, 200, 15, 8},
    {1021, kLeftEditNoEdge, L"", 7, 214, 125, 12},  // free-memory summary
    {1043, kSmoothProgress, L"Progress1", 135, 212, 63, 11},
    {1022, kRightEditNoEdge, L"", 201, 213, 14, 12},  // free-memory percent
    {-1, kLabel, L"%", 217, 214, 8, 8},                // not centred, unlike the others
    {-1, kLabel, L"起動時間", 7, 230, 30, 8},
    {1014, kLeftEditNoEdgeNoTab, L"", 38, 230, 74, 12},  // uptime
    {1042, kAutoCheckBox, L"常に手前に表示(&A)", 116, 232, 72, 10},
    {1012, kFaceBitmap, L"", 149, 78, 13, 14},
};

// Label ids of -1 are stored either as a 16-bit or as a 32-bit -1.
bool idMatches(int expected, std::uint32_t actual) {
  if (expected == -1) return actual == 0xFFFFu || actual == 0xFFFFFFFFu;
  return actual == static_cast<std::uint32_t>(expected);
}

std::wstring describe(const NameOrOrdinal& field) {
  return field.isOrdinal ? L"#" + std::to_wstring(field.ordinal) : L"\"" + field.name + L"\"";
}

class StatusDialogTemplate : public ProgramResourcesTest {
 protected:
  void SetUp() override {
    ProgramResourcesTest::SetUp();
    if (HasFatalFailure()) return;
    ResourceBytes bytes = program_.find(RT_DIALOG, kStatusDialog);
    ASSERT_TRUE(bytes) << "no dialog " << kStatusDialog << " in language " << hex(kJapanese);
    dialog_ = parseDialogTemplateEx(bytes.data, bytes.size);
    ASSERT_TRUE(dialog_) << "dialog " << kStatusDialog << " (" << bytes.size
                         << " bytes) is not a complete extended template";
  }

  std::optional<DialogTemplate> dialog_;
};

TEST_F(StatusDialogTemplate, WindowCaptionSizeFontAndMenu) {
  EXPECT_EQ(L"QuimbelUtility", dialog_->title);
  EXPECT_EQ(236, dialog_->cx);
  EXPECT_EQ(249, dialog_->cy);
  EXPECT_TRUE(dialog_->menu.isOrdinal && dialog_->menu.ordinal == kStatusMenu)
      << "menu is " << describe(dialog_->menu) << ", expected #" << kStatusMenu;
  EXPECT_TRUE(!dialog_->windowClass.isOrdinal && dialog_->windowClass.name.empty())
      << "window class is " << describe(dialog_->windowClass) << ", expected the dialog's own";

  ASSERT_TRUE(dialog_->hasFont) << "style " << hex(dialog_->style) << " carries no font";
  EXPECT_EQ(9, dialog_->pointSize);
  EXPECT_EQ(L"ＭＳ Ｐゴシック", dialog_->typeface);
  // A regular, upright face in a character set that can pick the Japanese font.
  EXPECT_TRUE(dialog_->weight == 0 || dialog_->weight == FW_NORMAL) << "weight " << dialog_->weight;
  EXPECT_EQ(0, dialog_->italic);
  EXPECT_TRUE(dialog_->charset == SHIFTJIS_CHARSET || dialog_->charset == DEFAULT_CHARSET)
      << "charset " << int{dialog_->charset};
}

TEST_F(StatusDialogTemplate, WindowStyleHasMinimiseButNoMaximiseOrSizing) {
  EXPECT_TRUE(hasBits("window style", dialog_->style,
                      WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT,
                      WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD | WS_DISABLED));
  // Shown on the taskbar, and not topmost until the user asks for it.
  EXPECT_TRUE(hasBits("extended style", dialog_->exStyle, WS_EX_APPWINDOW, WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
}

TEST_F(StatusDialogTemplate, EveryControlInTemplateOrder) {
  const std::size_t expectedCount = std::size(kStatusControls);
  EXPECT_EQ(expectedCount, dialog_->items.size()) << "number of controls";
  std::size_t compared = std::min(expectedCount, dialog_->items.size());
  for (std::size_t i = 0; i < compared; ++i) {
    const ExpectedControl& expected = kStatusControls[i];
    const DialogItem& actual = dialog_->items[i];
    const ControlKind& kind = expected.kind;
    SCOPED_TRACE(testing::Message() << "control #" << i << " (id " << expected.id << ", " << kind.description
                                    << ")");

    EXPECT_TRUE(idMatches(expected.id, actual.id)) << "id " << actual.id << ", expected " << expected.id;
    EXPECT_EQ(kind.windowClass, controlClassName(actual.windowClass));
    EXPECT_EQ(expected.x, actual.x) << "x";
    EXPECT_EQ(expected.y, actual.y) << "y";
    EXPECT_EQ(expected.cx, actual.cx) << "width";
    EXPECT_EQ(expected.cy, actual.cy) << "height";
    EXPECT_FALSE(actual.title.isOrdinal) << "text is resource " << describe(actual.title);
    EXPECT_EQ(expected.text, actual.title.name) << "text";

    EXPECT_TRUE(hasType("style", actual.style, kind.typeMask, kind.type));
    DWORD visibility = kind.visible ? static_cast<DWORD>(WS_VISIBLE) : 0;
    DWORD hidden = kind.visible ? 0 : static_cast<DWORD>(WS_VISIBLE);
    EXPECT_TRUE(hasBits("style", actual.style, kind.styleRequired | WS_CHILD | visibility,
                        kind.styleForbidden | WS_DISABLED | hidden));
    EXPECT_TRUE(hasBits("extended style", actual.exStyle, kind.exStyleRequired, kind.exStyleForbidden));
  }
}

TEST_F(StatusDialogTemplate, UnitRadioGroupEndsAfterTheMegabyteButton) {
  // Without a WS_GROUP control after 1026 the radio group, and with it the
  // arrow-key cycle and the checked-button lookup, would run on into the labels.
  auto megabyte = std::find_if(dialog_->items.begin(), dialog_->items.end(),
                               [](const DialogItem& item) { return item.id == 1026; });
  ASSERT_NE(megabyte, dialog_->items.end()) << "no control 1026";
  ASSERT_NE(megabyte + 1, dialog_->items.end()) << "1026 is the last control";
  EXPECT_TRUE(hasBits("style of the control after 1026", (megabyte + 1)->style, WS_GROUP, 0))
      << "that control has id " << static_cast<int>((megabyte + 1)->id);
}

}  // namespace
}  // namespace resources
