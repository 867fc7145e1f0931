// Files the program opens through the shell, by name in its working
// directory, with whatever the user's system associates with them.
#pragma once

constexpr const char* kHelpFile = "quimbel.hlp";
constexpr const char* kFacesPage = "faces.html";

// Opens a working-directory file with its type's default action. A missing
// file or association is not reported.
void openInShell(const char* fileName);
