#include "app/interface_language.h"

#include "app/settings_file.h"
#include "framework/proc_address.h"
#include "framework/resources.h"

namespace {

bool isJapanese(LANGID language) { return PRIMARYLANGID(language) == LANG_JAPANESE; }

// The key's values are ASCII: folding A to Z is all the case it has.
std::wstring lowerCase(std::wstring text) {
  for (wchar_t& c : text) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return text;
}

}  // namespace

InterfaceLanguage chooseLanguage(const std::wstring& setting, const SystemLanguages& system) {
  const std::wstring asked = lowerCase(setting);
  if (asked == L"ja") return InterfaceLanguage::kJapanese;
  if (asked == L"en") return InterfaceLanguage::kEnglish;
  const bool japanese = system.hasUserInterfaceLanguage
                            ? isJapanese(system.userInterface)
                            : isJapanese(system.userDefault) || isJapanese(system.systemDefault);
  return japanese ? InterfaceLanguage::kJapanese : InterfaceLanguage::kEnglish;
}

LANGID resourceLanguageOf(InterfaceLanguage language) {
  return language == InterfaceLanguage::kJapanese ? MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)
                                                  : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

SystemLanguages readSystemLanguages() {
  SystemLanguages languages;
  languages.userDefault = GetUserDefaultLangID();
  languages.systemDefault = GetSystemDefaultLangID();
  // Windows 2000 and later.
  using GetUiLanguageFn = LANGID(WINAPI*)();
  const auto userInterface =
      fw::procAddress<GetUiLanguageFn>(GetModuleHandleA("kernel32.dll"), "GetUserDefaultUILanguage");
  if (userInterface) {
    languages.hasUserInterfaceLanguage = true;
    languages.userInterface = userInterface();
  }
  return languages;
}

void chooseInterfaceLanguage(const std::wstring& settingsPath) {
  // Read, never written: files without the key stay as they are.
  const std::wstring setting = ProfileSettingsReader(settingsPath).readText(settings::kGeneral, settings::kLanguage);
  fw::setResourceLanguage(resourceLanguageOf(chooseLanguage(setting, readSystemLanguages())));
}
