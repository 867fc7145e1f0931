#include "tools/shell_links.h"

#include <windows.h>
#include <shellapi.h>

bool openInShell(const char* fileName) {
  // No directory: a bare name is looked up in the current directory, the
  // one that also holds the settings file and the face sets.
  const HINSTANCE result = ShellExecuteA(nullptr, nullptr, fileName, nullptr, nullptr, SW_SHOWNORMAL);
  // The shell's error codes are the values up to 32.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

void openHelp() {
  if (!openInShell(kHelpFile)) openInShell(kHelpPage);
}
