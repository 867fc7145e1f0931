// The rules behind the settings dialog's choices: which face-set names the
// settings file can hold, when the colour chooser opens on a colour, and
// how OK keeps the rest.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/platform_text.h"
#include "tools/colour_choice.h"
#include "tools/face_set_list.h"
#include "tools/settings_dialog.h"

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

// Windows refuses every flag and a used-default flag for UTF-8; Wine takes
// them, so the test holds the call to Windows' rule.
int WINAPI windowsConversion(UINT codePage, DWORD flags, LPCWCH text, int size, LPSTR bytes, int room,
                             LPCCH defaultChar, LPBOOL usedDefault) {
  if (codePage == CP_UTF8 && (flags != 0 || defaultChar || usedDefault)) {
    SetLastError(flags != 0 ? ERROR_INVALID_FLAGS : ERROR_INVALID_PARAMETER);
    return 0;
  }
  return WideCharToMultiByte(codePage, flags, text, size, bytes, room, defaultChar, usedDefault);
}

// The conversion behind every name the file holds: exact or nothing, in
// every code page the system may have, UTF-8 among them (the system's own
// code page is in FaceSetName above).
TEST(CodePage, ANameIsConvertedExactlyOrNotAtAll) {
  const struct {
    UINT codePage;
    std::wstring name;
    bool fits;
  } rows[] = {
      {932, L"\u301c", false},  // best fit would give the full-width tilde
      {1252, L"caf\u00e9", true},
      {1252, L"\u0101", false},  // best fit would give a plain "a"
      {65001, L"表情 caf\u00e9 \U0001F600", true},
      {65001, L"half \xD800 pair", false},
  };
  for (const auto& row : rows) {
    const std::optional<std::string> bytes = fw::toCodePage(row.codePage, row.name, windowsConversion);
    EXPECT_EQ(row.fits, bytes.has_value()) << "code page " << row.codePage;
    if (bytes) {
      EXPECT_EQ(row.name, fw::fromCodePage(row.codePage, *bytes)) << "code page " << row.codePage;
    }
  }
}

TEST(ColourChooser, OpensOnTheColourUnlessItIsBlack) {
  EXPECT_EQ(0u, colourChooserFlags(RGB(0, 0, 0)));
  EXPECT_EQ(static_cast<DWORD>(CC_RGBINIT), colourChooserFlags(RGB(0, 0, 1)));
  EXPECT_EQ(static_cast<DWORD>(CC_RGBINIT), colourChooserFlags(RGB(255, 255, 255)));
}

// Records the keys it is asked to keep and refuses those named.
class RefusingStore final : public SettingsStore {
 public:
  std::vector<std::string> refused;
  std::vector<std::string> asked;
  int reports = 0;

  bool saveLineColor(COLORREF) override { return keep("LineColor"); }
  bool saveBackgroundColor(COLORREF) override { return keep("MoniterColor"); }
  bool saveDefaultUnit(std::int32_t) override { return keep("UnitButton"); }
  bool saveUnitAtExit(bool) override { return keep("UnitEnd"); }
  bool saveFaceSet(const std::wstring&) override { return keep("FaceDir"); }
  void reportUnsaved() override { ++reports; }

 private:
  bool keep(const std::string& key) {
    asked.push_back(key);
    return std::find(refused.begin(), refused.end(), key) == refused.end();
  }
};

// The values OK writes are the end-to-end tests' to check.
TEST(SaveSettings, TriesEveryKeyAndSaysOnceWhenAnyIsNotKept) {
  const std::vector<std::string> all{"UnitButton", "UnitEnd", "FaceDir"};
  for (const std::vector<std::string>& refused : {std::vector<std::string>{}, {"UnitButton"}, all}) {
    CustomColours colours = initialCustomColours();
    RefusingStore store;
    store.refused = refused;
    SettingsDialog dialog(SettingsChoices{}, colours, store);
    dialog.saveSettings();
    EXPECT_EQ(all, store.asked) << refused.size() << " refused";
    EXPECT_EQ(refused.empty() ? 0 : 1, store.reports) << refused.size() << " refused";
  }
}

}  // namespace
