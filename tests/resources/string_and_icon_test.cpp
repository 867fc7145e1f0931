// Reads back the system-menu text (string 101) and the program icon (128).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <optional>
#include <tuple>
#include <vector>

#include "tests/resources/resource_test_support.h"
#include "tests/resources/string_and_icon_formats.h"

namespace resources {
namespace {

constexpr WORD kAboutMenuItemString = 101;
constexpr WORD kProgramIcon = 128;

TEST_F(ProgramResourcesTest, AboutItemTextOfTheSystemMenu) {
  static_assert(stringBlockId(kAboutMenuItemString) == 7 && stringBlockIndex(kAboutMenuItemString) == 5);
  ResourceBytes bytes = program_.find(RT_STRING, stringBlockId(kAboutMenuItemString));
  ASSERT_TRUE(bytes) << "no string block " << stringBlockId(kAboutMenuItemString) << " in language "
                     << hex(kJapanese);
  std::optional<std::vector<std::wstring>> block = parseStringBlock(bytes.data, bytes.size);
  ASSERT_TRUE(block) << "string block of " << bytes.size << " bytes is shorter than its counts";
  // Half-width katakana, as the system menu shows it.
  EXPECT_EQ(L"Quimbel のﾊﾞｰｼﾞｮﾝ情報(&A)...", (*block)[stringBlockIndex(kAboutMenuItemString)]);
}

struct ExpectedIconImage {
  std::uint8_t size;  // width and height
  std::uint16_t bitCount;
  std::uint8_t colorCount;  // 0 stands for 256 or more
};

// Sorted by size, then colour depth; the order inside the group is free.
// Every size a DPI-aware window asks for at 96, 120 and 144 DPI (title bar
// 16, 20, 24; window 32, 40, 48) in 256 colours; 16 and 32 also in 16.
const ExpectedIconImage kProgramIconImages[] = {
    {16, 4, 16},  // 16 x 16, 16 colours
    {16, 8, 0},   // 16 x 16, 256 colours
    {20, 8, 0},  {24, 8, 0},
    {32, 4, 16},  // 32 x 32, 16 colours
    {32, 8, 0},   // 32 x 32, 256 colours
    {40, 8, 0},  {48, 8, 0},
};

TEST_F(ProgramResourcesTest, ProgramIconImagesAgreeWithTheirGroup) {
  ResourceBytes groupBytes = program_.find(RT_GROUP_ICON, kProgramIcon);
  ASSERT_TRUE(groupBytes) << "no icon group " << kProgramIcon << " in language " << hex(kJapanese);
  std::optional<std::vector<IconGroupEntry>> group = parseIconGroup(groupBytes.data, groupBytes.size);
  ASSERT_TRUE(group) << "icon group of " << groupBytes.size << " bytes is malformed";

  std::vector<IconGroupEntry> entries = *group;
  std::sort(entries.begin(), entries.end(), [](const IconGroupEntry& a, const IconGroupEntry& b) {
    return std::tie(a.width, a.bitCount) < std::tie(b.width, b.bitCount);
  });
  ASSERT_EQ(std::size(kProgramIconImages), entries.size()) << "number of images in the group";

  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ExpectedIconImage& expected = kProgramIconImages[i];
    const IconGroupEntry& entry = entries[i];
    SCOPED_TRACE(testing::Message() << "image " << int{expected.size} << " x " << int{expected.size} << ", "
                                    << expected.bitCount << " bits per pixel (icon " << entry.iconId << ")");
    EXPECT_EQ(expected.size, entry.width) << "group width";
    EXPECT_EQ(expected.size, entry.height) << "group height";
    EXPECT_EQ(expected.bitCount, entry.bitCount) << "group bit count";
    EXPECT_EQ(expected.colorCount, entry.colorCount) << "group colour count";
    EXPECT_EQ(1, entry.planes) << "group planes";

    ResourceBytes image = program_.find(RT_ICON, entry.iconId);
    ASSERT_TRUE(image) << "group names icon " << entry.iconId << ", which is not there in language "
                       << hex(kJapanese);
    EXPECT_EQ(entry.bytesInResource, image.size) << "group's byte count against the image's";
    std::optional<IconImageHeader> header = parseIconImageHeader(image.data, image.size);
    ASSERT_TRUE(header) << "image of " << image.size << " bytes has no bitmap header";
    EXPECT_EQ(40u, header->headerSize) << "a BITMAPINFOHEADER, not a PNG or an older header";
    EXPECT_EQ(expected.size, header->width) << "bitmap width";
    EXPECT_EQ(2 * expected.size, header->height) << "bitmap height covers colour and mask";
    EXPECT_EQ(expected.bitCount, header->bitCount) << "bitmap bit count";
    EXPECT_EQ(1, header->planes) << "bitmap planes";
    EXPECT_GE(image.size, paletteIconBytes(expected.size, expected.size, expected.bitCount))
        << "image too short for its palette, colour and mask rows";
  }
}

}  // namespace
}  // namespace resources
