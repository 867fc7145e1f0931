// Reads the status window's menu (131) back and compares its pop-ups and
// items, with their command ids, against the menu the window routes.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "tests/resources/menu_template.h"
#include "tests/resources/resource_test_support.h"

namespace resources {
namespace {

constexpr WORD kStatusMenu = 131;

struct ExpectedItem {
  const wchar_t* text;
  std::uint16_t command;
};

struct ExpectedPopup {
  const wchar_t* text;
  std::vector<ExpectedItem> items;
};

const ExpectedPopup kStatusMenuLayout[] = {
    {L"ファイル(&F)", {{L"終了(&Q)", 57665}}},  // the application's standard exit
    {L"ツール(&T)", {{L"メモリ解放(&M)", 32776}, {L"設定(&S)", 32772}}},
    {L"ヘルプ(&H)",
     {
         {L"目次(&H)", 57670},  // same command as the Help button
         {L"フェイスの取得(&D)", 32774},
         {L"バージョン情報(&V)", 32773},
     }},
};

// Only the structural flags: no separators, nothing greyed, checked or broken.
constexpr std::uint16_t kStructureFlags = MF_POPUP | MF_END;

TEST_F(ProgramResourcesTest, StatusMenuPopupsAndCommands) {
  ResourceBytes bytes = program_.find(RT_MENU, kStatusMenu);
  ASSERT_TRUE(bytes) << "no menu " << kStatusMenu << " in language " << hex(kJapanese);
  std::optional<std::vector<MenuEntry>> menu = parseMenuTemplate(bytes.data, bytes.size);
  ASSERT_TRUE(menu) << "menu " << kStatusMenu << " (" << bytes.size << " bytes) is not a complete menu template";

  EXPECT_EQ(std::size(kStatusMenuLayout), menu->size()) << "number of pop-ups";
  std::size_t popups = std::min(std::size(kStatusMenuLayout), menu->size());
  for (std::size_t p = 0; p < popups; ++p) {
    const ExpectedPopup& expected = kStatusMenuLayout[p];
    const MenuEntry& popup = (*menu)[p];
    SCOPED_TRACE(testing::Message() << "pop-up #" << p);
    EXPECT_EQ(expected.text, popup.text);
    EXPECT_TRUE(hasBits("pop-up flags", popup.flags, MF_POPUP, static_cast<DWORD>(~kStructureFlags & 0xFFFF)));

    EXPECT_EQ(expected.items.size(), popup.children.size()) << "number of items";
    std::size_t items = std::min(expected.items.size(), popup.children.size());
    for (std::size_t i = 0; i < items; ++i) {
      const MenuEntry& item = popup.children[i];
      SCOPED_TRACE(testing::Message() << "item #" << i);
      EXPECT_EQ(expected.items[i].text, item.text);
      EXPECT_EQ(expected.items[i].command, item.id) << "command id";
      // A separator is an item with MF_SEPARATOR, or one with no text and id 0.
      EXPECT_TRUE(hasBits("item flags", item.flags, 0, static_cast<DWORD>(~MF_END & 0xFFFF)));
      EXPECT_TRUE(item.children.empty()) << "item is a nested pop-up";
    }
  }
}

}  // namespace
}  // namespace resources
