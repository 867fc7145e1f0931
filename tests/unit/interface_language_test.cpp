#include <gtest/gtest.h>

#include "app/interface_language.h"

namespace {

constexpr LANGID kJa = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
constexpr LANGID kEnUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr LANGID kDe = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
constexpr auto kJapanese = InterfaceLanguage::kJapanese;
constexpr auto kEnglish = InterfaceLanguage::kEnglish;

TEST(ChooseLanguage, TheSettingFirstThenTheUsersInterfaceLanguageThenTheDefaults) {
  const struct {
    const wchar_t* setting;
    SystemLanguages system;  // has UI language, UI, user default, system default
    InterfaceLanguage expected;
    const char* why;
  } rows[] = {
      {L"", {true, kJa, kEnUs, kEnUs}, kJapanese, "Japanese interface language"},
      {L"", {true, kEnUs, kJa, kJa}, kEnglish, "the interface language decides alone"},
      {L"", {true, kDe, kDe, kDe}, kEnglish, "any other language: English"},
      {L"", {false, 0, kJa, kEnUs}, kJapanese, "before 2000: the user's default"},
      {L"", {false, 0, kEnUs, kJa}, kJapanese, "before 2000: the system's default"},
      {L"", {false, 0, kDe, kEnUs}, kEnglish, "before 2000, neither Japanese"},
      {L"ja", {true, kDe, kDe, kDe}, kJapanese, "the key overrides"},
      {L"EN", {true, kJa, kJa, kJa}, kEnglish, "in any letter case"},
      {L"fr", {true, kJa, kJa, kJa}, kJapanese, "an unknown value is ignored"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.expected, chooseLanguage(row.setting, row.system)) << row.why;
  }
}

}  // namespace
