// The program's own resources in the language chosen for the run. Each
// dialog, menu and string is kept once per language; the platform's own
// look-ups pick by the thread's or the user's language, which differs from
// system to system and cannot be told to follow the settings file, so the
// program finds each resource in its language itself.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

namespace fw {

// Chosen once at start-up, before the first window.
void setResourceLanguage(LANGID language);
LANGID resourceLanguage();

// A resource's bytes in the chosen language; where it has none there, in
// any language the program carries; null where there is none at all.
const void* findResource(LPCSTR type, int id);

// A string of the chosen language's string table; empty where there is none.
std::wstring loadString(int id);

// A menu of the chosen language, owned by the caller (or the window it is
// given to); null where there is none.
HMENU loadMenu(int id);

// `pattern` with each %1 to %9 replaced by the argument of that number.
std::wstring fillIn(const std::wstring& pattern, std::initializer_list<std::wstring> arguments);

}  // namespace fw
