#include "tools/shell_links.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/platform_text.h"
#include "framework/resources.h"
#include "res/resource.h"

bool openInShell(const std::wstring& fileName) {
  if (fileName.empty()) return false;
  // No directory: a bare name is looked up in the current directory, the
  // one that also holds the settings file and the face sets. The names are
  // plain ASCII, the same in every code page.
  const HINSTANCE result =
      ShellExecuteA(nullptr, nullptr, fw::systemText(fileName).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  // The shell's error codes are the values up to 32.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

HelpChoice helpFor(const OsVersionRecord& system) {
  constexpr std::uint32_t kVistaMajorVersion = 6;
  const bool ntFamily = system.platformId == VER_PLATFORM_WIN32_NT;
  return ntFamily && system.majorVersion >= kVistaMajorVersion ? HelpChoice::kPage
                                                               : HelpChoice::kHelpFileThenPage;
}

void openHelp() {
  if (helpFor(readOsVersionRecord()) == HelpChoice::kHelpFileThenPage && openInShell(fw::loadString(IDS_HELP_FILE))) {
    return;
  }
  openInShell(fw::loadString(IDS_HELP_PAGE));
}
