// What the soak and the bad-input runs need beyond the end-to-end harness:
// the program's secondary windows, which of its features this build has,
// its live drawing objects, screen pixels, and the settings keys it does not
// own, read the platform's own way.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"

namespace endurance {

// The program's secondary windows, by caption.
extern const char* const kMonitorCaption;
extern const char* const kSettingsCaption;

// What the built program holds, read from its image: a feature whose
// resources are not there yet cannot be exercised and is reported as such.
struct Features {
  bool monitorWindow = false;   // dialog template 132
  bool settingsDialog = false;  // dialog template 130
  bool faces = false;           // built-in face bitmap 129
};
Features featuresOf(const std::string& exePath);

// The count of live GDI objects and DCs the program's wrappers own; none
// when the program does not answer the question.
std::optional<long> liveDrawingObjects(const e2e::Program& program);

// The program answers a sent message within five seconds.
bool responsive(const e2e::Program& program);

// Opens the monitor window (Monitor button) or the settings dialog (menu),
// ticks `ticks` times under it and closes it with its Back or Cancel button.
// Returns "" or what went wrong.
std::string visitMonitorWindow(const e2e::Program& program, int ticks);
std::string visitSettingsDialog(const e2e::Program& program, int ticks);

// Closes the program with File > Exit; "" or what went wrong. Where the
// settings file cannot be written (`unsavedSettingsPath` given), the program
// must say so once, naming the file, and then end; elsewhere say nothing.
std::string exitProgram(const e2e::Program& program, const std::string& unsavedSettingsPath = {});

// The screen's pixels in `rect`, row by row.
std::vector<COLORREF> screenPixels(const RECT& rect);

// Every "key=value" line that GetPrivateProfileSection finds in the file,
// outside the program's own ten keys, with its section in lower case.
std::vector<std::string> foreignEntries(const std::string& iniPath);
// The foreign entries of the file that survive the platform's own rewrite of
// it (a copy given one changed key): a byte sequence the code page cannot
// carry, say, may come back changed whatever the program does.
std::vector<std::string> foreignEntriesAfterPlatformRewrite(const std::string& iniPath);
// The entries of `before` (with their multiplicity) missing from `after`.
std::vector<std::string> missingEntries(const std::vector<std::string>& before,
                                        const std::vector<std::string>& after);

// Writes `bytes` to `path`, replacing the file; false when it cannot.
bool writeFile(const std::string& path, const std::string& bytes);

// Nested directories under `base` until the path is `length` characters
// long; "" when the platform refuses.
std::string makeDirectoryOfLength(const std::string& base, std::size_t length);

}  // namespace endurance
