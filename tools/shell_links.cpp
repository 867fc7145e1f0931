#include "tools/shell_links.h"

#include <windows.h>
#include <shellapi.h>

void openInShell(const char* fileName) {
  // No directory: a bare name is looked up in the current directory, the
  // one that also holds the settings file and the face sets.
  ShellExecuteA(nullptr, nullptr, fileName, nullptr, nullptr, SW_SHOWNORMAL);
}
