// The face sets on offer, and their names as the settings file holds them.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The most bytes of "FaceDir" a start-up read keeps.
constexpr std::size_t kFaceSetNameMaxBytes = 255;

// A face-set name as the settings file holds it, in the system's code page;
// nothing where the file cannot hold it: a character the code page lacks
// (no look-alikes: they would name another folder) or more than
// kFaceSetNameMaxBytes, which the next start would cut.
std::optional<std::string> faceSetNameFor(const std::wstring& directoryName);

// Every sub-directory of the current directory (hidden and system ones
// too, never "." or ".." or plain files), whatever characters its name
// holds, in the order the file system lists them.
std::vector<std::wstring> listFaceSetDirectories();
