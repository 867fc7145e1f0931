#include "tools/face_set_list.h"

#include <windows.h>

std::optional<std::string> faceSetNameFor(const std::wstring& directoryName) {
  if (directoryName.empty()) return std::nullopt;
  const int wideLength = static_cast<int>(directoryName.size());
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, directoryName.data(), wideLength,
                                         nullptr, 0, nullptr, &usedDefault);
  if (length <= 0 || usedDefault || static_cast<std::size_t>(length) > kFaceSetNameMaxBytes) {
    return std::nullopt;
  }
  std::string name(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, directoryName.data(), wideLength, &name[0], length,
                      nullptr, &usedDefault);
  if (usedDefault) return std::nullopt;
  return name;
}

std::vector<std::string> listFaceSetDirectories() {
  std::vector<std::string> names;
  WIN32_FIND_DATAW entry{};
  HANDLE search = FindFirstFileW(L"*", &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    const std::wstring found = entry.cFileName;
    if (found == L"." || found == L"..") continue;
    if (std::optional<std::string> name = faceSetNameFor(found)) names.push_back(*name);
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return names;
}
