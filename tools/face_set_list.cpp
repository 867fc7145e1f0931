#include "tools/face_set_list.h"

#include "framework/platform_text.h"

std::optional<std::string> faceSetNameFor(const std::wstring& directoryName) {
  if (directoryName.empty()) return std::nullopt;
  std::optional<std::string> name = fw::toSystemCodePage(directoryName);
  if (!name || name->size() > kFaceSetNameMaxBytes) return std::nullopt;
  return name;
}

std::vector<std::wstring> listFaceSetDirectories() { return fw::currentSubdirectories(); }
