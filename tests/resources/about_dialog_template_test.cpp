// Reads the About box's template (dialog 100) back from the executable.
#include <gtest/gtest.h>
#include <windows.h>

#include <iterator>
#include <optional>

#include "tests/resources/dialog_template.h"
#include "tests/resources/resource_test_support.h"

namespace resources {
namespace {

constexpr WORD kAboutDialog = 100;

struct ExpectedAboutControl {
  const wchar_t* windowClass;
  int id;                // -1: no id of its own
  const wchar_t* text;   // null: the program icon, resource 128
  DWORD typeMask, type;  // static or button type
  DWORD styleRequired;
  short x, y, cx, cy;
};

const ExpectedAboutControl kAboutControls[] = {
    {L"static", -1, nullptr, SS_TYPEMASK, SS_ICON, 0, 11, 17, 20, 20},
    {L"static", -1, L"QuimbelUtility Version 3.0", SS_TYPEMASK, SS_LEFT, SS_NOPREFIX | WS_GROUP, 40, 10, 100, 8},
    {L"static", -1, L"パソコンの負荷をひと目で", SS_TYPEMASK, SS_LEFT, WS_GROUP, 40, 25, 110, 8},
    {L"button", IDOK, L"OK", BS_TYPEMASK, BS_DEFPUSHBUTTON, WS_GROUP | WS_TABSTOP, 140, 34, 50, 14},
};

TEST_F(ProgramResourcesTest, AboutDialogTemplate) {
  ResourceBytes bytes = program_.find(RT_DIALOG, kAboutDialog);
  ASSERT_TRUE(bytes) << "no dialog " << kAboutDialog << " in language " << hex(kJapanese);
  std::optional<DialogTemplate> dialog = parseDialogTemplateEx(bytes.data, bytes.size);
  ASSERT_TRUE(dialog) << "not a complete extended template";

  EXPECT_EQ(L"Quimbelのバージョン情報", dialog->title);
  EXPECT_EQ(197, dialog->cx);
  EXPECT_EQ(55, dialog->cy);
  EXPECT_TRUE(hasBits("window style", dialog->style, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                      WS_VISIBLE | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD));
  EXPECT_TRUE(dialog->menu.isOrdinal == false && dialog->menu.name.empty()) << "the About box has no menu";
  EXPECT_EQ(9, dialog->pointSize);
  EXPECT_EQ(L"ＭＳ Ｐゴシック", dialog->typeface);

  ASSERT_EQ(std::size(kAboutControls), dialog->items.size());
  for (std::size_t i = 0; i < dialog->items.size(); ++i) {
    const ExpectedAboutControl& expected = kAboutControls[i];
    const DialogItem& actual = dialog->items[i];
    SCOPED_TRACE(testing::Message() << "control #" << i);
    EXPECT_EQ(expected.windowClass, controlClassName(actual.windowClass));
    if (expected.id == -1) {
      EXPECT_TRUE(actual.id == 0xFFFFu || actual.id == 0xFFFFFFFFu) << "id " << actual.id;
    } else {
      EXPECT_EQ(static_cast<std::uint32_t>(expected.id), actual.id);
    }
    if (expected.text) {
      EXPECT_EQ(expected.text, actual.title.name);
    } else {
      EXPECT_TRUE(actual.title.isOrdinal && actual.title.ordinal == 128) << "not icon 128";
    }
    EXPECT_TRUE(hasType("style", actual.style, expected.typeMask, expected.type));
    EXPECT_TRUE(hasBits("style", actual.style, expected.styleRequired | WS_CHILD | WS_VISIBLE, WS_DISABLED));
    EXPECT_EQ(expected.x, actual.x);
    EXPECT_EQ(expected.y, actual.y);
    EXPECT_EQ(expected.cx, actual.cx);
    EXPECT_EQ(expected.cy, actual.cy);
  }
}

}  // namespace
}  // namespace resources
