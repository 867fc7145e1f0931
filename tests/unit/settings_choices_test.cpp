// The rules behind the settings dialog's choices: which face-set names the
// settings file can hold, and when the colour chooser opens on a colour.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "tools/colour_choice.h"
#include "tools/face_set_list.h"

namespace {

TEST(FaceSetName, StoredOnlyWhenTheNameSurvivesTheCodePageWithin255Bytes) {
  const struct {
    std::wstring directory;
    bool stored;
    std::string name;  // in the program's code page
    const char* why;
  } rows[] = {
      {L"faces", true, "faces", "plain ASCII"},
      {L"表情セット", true, "表情セット", "Japanese: two bytes a character"},
      {L"ﾌｪｲｽ", true, "ﾌｪｲｽ", "half-width katakana: one byte each"},
      {L"caf\u00e9", false, "", "no e-acute in the code page; best fit would give another directory"},
      {L"\u4e02", false, "", "a kanji outside the code page"},
      {std::wstring(255, L'a'), true, std::string(255, 'a'), "255 bytes: kept whole"},
      {std::wstring(256, L'a'), false, "", "256 bytes: cut at the next start"},
      {std::wstring(127, L'表') + L"a", true, "", "255 bytes in double-byte characters"},
      {std::wstring(128, L'表'), false, "", "256 bytes in double-byte characters"},
  };
  for (const auto& row : rows) {
    const std::optional<std::string> name = faceSetNameFor(row.directory);
    EXPECT_EQ(row.stored, name.has_value()) << row.why;
    if (name && !row.name.empty()) {
      EXPECT_EQ(row.name, *name) << row.why;
    }
  }
}

TEST(ColourChooser, OpensOnTheColourUnlessItIsBlack) {
  EXPECT_EQ(0u, colourChooserFlags(RGB(0, 0, 0)));
  EXPECT_EQ(static_cast<DWORD>(CC_RGBINIT), colourChooserFlags(RGB(0, 0, 1)));
  EXPECT_EQ(static_cast<DWORD>(CC_RGBINIT), colourChooserFlags(RGB(255, 255, 255)));
}

}  // namespace
