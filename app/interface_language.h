// Which language the program speaks: Japanese to a user whose Windows
// speaks Japanese, English to everyone else, unless the settings file says.
#pragma once

#include <windows.h>

#include <string>

enum class InterfaceLanguage { kJapanese, kEnglish };

// What the system says of its user's language.
struct SystemLanguages {
  // The user's interface language, where the system has one (Windows 2000
  // and later): it decides alone.
  bool hasUserInterfaceLanguage = false;
  LANGID userInterface = 0;
  // Before that, the user's and the system's default languages.
  LANGID userDefault = 0;
  LANGID systemDefault = 0;
};

// The one rule. `setting` is the settings file's Language key: "ja" or "en"
// (in any letter case) overrides the system; anything else is ignored.
InterfaceLanguage chooseLanguage(const std::wstring& setting, const SystemLanguages& system);

// The language the program's resources of that choice are marked with.
LANGID resourceLanguageOf(InterfaceLanguage language);

// What this system says, asked at run time where the call is newer than
// Windows 95 and NT 4.0.
SystemLanguages readSystemLanguages();

// Decides the run's language from the settings file at `settingsPath` and
// the system, and makes every resource look-up use it.
void chooseInterfaceLanguage(const std::wstring& settingsPath);
