#include "tools/face_set_list.h"

#include <windows.h>

#include "framework/handles.h"
#include "framework/platform_text.h"

std::optional<std::string> faceSetNameFor(const std::wstring& directoryName) {
  if (directoryName.empty()) return std::nullopt;
  std::optional<std::string> name = fw::toCodePage(CP_ACP, directoryName);
  if (!name || name->size() > kFaceSetNameMaxBytes) return std::nullopt;
  return name;
}

namespace {
template <typename Entry>
void addIfSubdirectory(const Entry& entry, std::wstring name, std::vector<std::wstring>& names) {
  if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..") {
    names.push_back(std::move(name));
  }
}
}  // namespace

std::vector<std::wstring> listFaceSetDirectories() {
  std::vector<std::wstring> names;
  if (fw::usesWideText()) {
    WIN32_FIND_DATAW entry{};
    fw::Search search(FindFirstFileW(L"*", &entry));
    if (!search) return names;
    do {
      addIfSubdirectory(entry, entry.cFileName, names);
    } while (FindNextFileW(search.get(), &entry));
  } else {
    WIN32_FIND_DATAA entry{};
    fw::Search search(FindFirstFileA("*", &entry));
    if (!search) return names;
    do {
      addIfSubdirectory(entry, fw::fromCodePage(CP_ACP, entry.cFileName), names);
    } while (FindNextFileA(search.get(), &entry));
  }
  return names;
}
