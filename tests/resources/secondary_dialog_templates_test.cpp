// Reads the settings dialog (130) and the monitor window (132) back from
// the executable and compares them with the layouts they are designed for.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "tests/resources/dialog_template.h"
#include "tests/resources/resource_test_support.h"

namespace resources {
namespace {

struct Expected {
  int id;  // -1: a label without an id
  const wchar_t* windowClass;
  DWORD typeMask, type;  // button or static type
  DWORD styleRequired, exStyleRequired;
  const wchar_t* text;
  short x, y, cx, cy;
};

constexpr DWORD kButtonType = BS_TYPEMASK;
constexpr DWORD kStaticType = SS_TYPEMASK;

const Expected kSettingsControls[] = {
    {-1, L"button", kButtonType, BS_GROUPBOX, 0, 0, L"メモリ", 7, 7, 86, 47},
    {-1, L"static", kStaticType, SS_LEFT, WS_GROUP, 0, L"デフォルトの単位(&U)", 12, 18, 64, 8},
    {1033, L"button", kButtonType, BS_AUTORADIOBUTTON, WS_GROUP, 0, L"&Byte", 11, 29, 30, 10},
    {1027, L"button", kButtonType, BS_AUTORADIOBUTTON, 0, 0, L"&KB", 41, 29, 25, 10},
    {1028, L"button", kButtonType, BS_AUTORADIOBUTTON, 0, 0, L"&MB", 65, 29, 26, 10},
    {-1, L"button", kButtonType, BS_GROUPBOX, 0, 0, L"CPUモニター", 98, 7, 69, 47},
    {1037, L"static", kStaticType, SS_ETCHEDFRAME, 0, 0, L"", 102, 20, 12, 12},
    {1034, L"button", kButtonType, BS_PUSHBUTTON, WS_TABSTOP, 0, L"線の色(&L)", 118, 18, 42, 14},
    {1038, L"static", kStaticType, SS_ETCHEDFRAME, 0, 0, L"", 102, 38, 12, 12},
    {1035, L"button", kButtonType, BS_PUSHBUTTON, WS_TABSTOP, 0, L"背景の色(&H)", 118, 36, 42, 14},
    {1, L"button", kButtonType, BS_DEFPUSHBUTTON, WS_TABSTOP, 0, L"　決　定(&A) ", 7, 120, 40, 14},
    {2, L"button", kButtonType, BS_PUSHBUTTON, WS_TABSTOP, 0, L"キャンセル(&C)", 121, 120, 46, 14},
    {1040, L"button", kButtonType, BS_AUTOCHECKBOX, WS_TABSTOP, 0, L"終了時の単位(&E)", 9, 41, 66, 10},
    {-1, L"button", kButtonType, BS_GROUPBOX, 0, 0, L"表情(&F)", 7, 56, 160, 54},
    {1041, L"listbox", 0, 0,
     LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 0, L"", 12, 66, 100,
     39},
    {1012, L"static", kStaticType, SS_BITMAP, 0, 0, L"", 124, 71, 13, 14},
};

const Expected kMonitorControls[] = {
    {2, L"button", kButtonType, BS_PUSHBUTTON, WS_TABSTOP, 0, L"戻 る(&B)", 41, 25, 29, 14},
    {1032, L"static", 0, 0, SS_SUNKEN, WS_EX_CLIENTEDGE, L"", 0, 0, 70, 20},
};

bool idMatches(int expected, std::uint32_t actual) {
  if (expected == -1) return actual == 0xFFFFu || actual == 0xFFFFFFFFu;
  return actual == static_cast<std::uint32_t>(expected);
}

class SecondaryDialogTemplates : public ProgramResourcesTest {
 protected:
  // The window's title, size and font, then every control in template
  // order. After the first radio button nothing may start a group, so the
  // radio group holds exactly the three units.
  void compare(WORD id, const wchar_t* title, short cx, short cy, DWORD style, DWORD forbidden,
               const std::vector<Expected>& expected) {
    ResourceBytes bytes = program_.find(RT_DIALOG, id);
    ASSERT_TRUE(bytes) << "no dialog " << id;
    std::optional<DialogTemplate> dialog = parseDialogTemplateEx(bytes.data, bytes.size);
    ASSERT_TRUE(dialog) << "dialog " << id << " is not a complete extended template";
    EXPECT_EQ(title, dialog->title);
    EXPECT_EQ(cx, dialog->cx);
    EXPECT_EQ(cy, dialog->cy);
    EXPECT_EQ(9, dialog->pointSize);
    EXPECT_EQ(L"ＭＳ Ｐゴシック", dialog->typeface);
    EXPECT_TRUE(hasBits("window style", dialog->style, style | WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT,
                        forbidden | WS_VISIBLE | WS_THICKFRAME | WS_MINIMIZEBOX));
    exStyle_ = dialog->exStyle;
    ASSERT_EQ(expected.size(), dialog->items.size()) << "number of controls";
    bool radioGroupOpen = false;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const Expected& want = expected[i];
      const DialogItem& item = dialog->items[i];
      SCOPED_TRACE(testing::Message() << "control #" << i << " (id " << want.id << ")");
      EXPECT_TRUE(idMatches(want.id, item.id)) << "id " << item.id;
      EXPECT_EQ(want.windowClass, controlClassName(item.windowClass));
      EXPECT_EQ(want.text, item.title.name);
      EXPECT_TRUE(item.x == want.x && item.y == want.y && item.cx == want.cx && item.cy == want.cy)
          << "at " << item.x << "," << item.y << " size " << item.cx << "x" << item.cy;
      EXPECT_TRUE(hasType("style", item.style, want.typeMask, want.type));
      EXPECT_TRUE(hasBits("style", item.style, want.styleRequired | WS_CHILD | WS_VISIBLE,
                          WS_DISABLED | (radioGroupOpen ? static_cast<DWORD>(WS_GROUP) : 0)));
      EXPECT_TRUE(hasBits("extended style", item.exStyle, want.exStyleRequired, 0));
      if (want.type == BS_AUTORADIOBUTTON && want.typeMask == kButtonType) radioGroupOpen = true;
    }
  }

  DWORD exStyle_ = 0;
};

TEST_F(SecondaryDialogTemplates, SettingsDialog) {
  compare(130, L"設定ダイアログ", 174, 141, WS_SYSMENU, WS_MAXIMIZEBOX,
          {std::begin(kSettingsControls), std::end(kSettingsControls)});
}

TEST_F(SecondaryDialogTemplates, MonitorWindowIsAToolWindowWithoutCloseBox) {
  compare(132, L"QuimbelUtilityモニター", 70, 39, 0, WS_SYSMENU,
          {std::begin(kMonitorControls), std::end(kMonitorControls)});
  EXPECT_TRUE(hasBits("extended style", exStyle_, WS_EX_TOOLWINDOW, WS_EX_TOPMOST | WS_EX_APPWINDOW));
}

}  // namespace
}  // namespace resources
