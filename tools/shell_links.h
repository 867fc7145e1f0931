// Files the program opens through the shell, by name in its working
// directory, with whatever the user's system associates with them. Their
// names are strings of each language: the help and the faces page come in
// the interface's language.
#pragma once

#include <string>

#include "probes/system_identity.h"

// Opens a working-directory file with its type's default action; false
// where the shell reports it could not (no such file, no program for its
// type). Nothing is reported to the user.
bool openInShell(const std::wstring& fileName);

// What Help opens first on a system. Windows Vista and every NT-family
// system since have no viewer for the help file, only a stand-in that
// says so, and the shell still "opens" the file with it: there the page is
// the help. Everywhere else the help file comes first.
enum class HelpChoice { kHelpFileThenPage, kPage };
HelpChoice helpFor(const OsVersionRecord& system);

// Opens the help this system reads: the page on Vista and later, else the
// help file, or the page where the shell cannot open that.
void openHelp();
