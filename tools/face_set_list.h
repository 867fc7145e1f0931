// The face sets on offer: the sub-directories of the current directory
// whose names the settings file can hold.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The most bytes of "FaceDir" a start-up read keeps.
constexpr std::size_t kFaceSetNameMaxBytes = 255;

// A directory name as the program's 8-bit text, or nothing when the name
// does not survive the ANSI code page exactly (no best-fit look-alikes, no
// default characters) or runs over kFaceSetNameMaxBytes: such a set could
// be chosen but would be lost at the next start.
std::optional<std::string> faceSetNameFor(const std::wstring& directoryName);

// Every sub-directory of the current directory (hidden and system ones
// too, never "." or ".." or plain files) that faceSetNameFor accepts, in the
// order the file system lists them.
std::vector<std::string> listFaceSetDirectories();
