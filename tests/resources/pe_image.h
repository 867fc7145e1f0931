// The few facts of a PE32 or PE32+ executable file the program's build must
// get right: machine, file characteristics, subsystem and what it imports.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace resources {

// One function imported by name, or by number as "#<ordinal>".
struct PeImport {
  std::string dll;
  std::string function;
};

struct PeFacts {
  std::uint16_t machine = 0;
  std::uint16_t characteristics = 0;
  std::uint16_t optionalHeaderMagic = 0;
  std::uint16_t subsystem = 0;
  std::vector<PeImport> imports;  // libraries as named in the import directory
};

// Nothing when the file cannot be read or is not a well-formed PE image.
std::optional<PeFacts> readPeFacts(const std::string& path);

}  // namespace resources
