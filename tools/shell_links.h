// Files the program opens through the shell, by name in its working
// directory, with whatever the user's system associates with them.
#pragma once

constexpr const char* kHelpFile = "quimbel.hlp";
// The same help as a web page, for systems with no viewer for the help file.
constexpr const char* kHelpPage = "quimbel_help.html";
constexpr const char* kFacesPage = "faces.html";

// Opens a working-directory file with its type's default action; false
// where the shell reports it could not (no such file, no program for its
// type). Nothing is reported to the user.
bool openInShell(const char* fileName);

// Opens the help file, or the help page where the shell cannot open it.
void openHelp();
