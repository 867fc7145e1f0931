// The few facts of a PE32 executable file the program's build must get
// right: machine, file characteristics, subsystem and the DLLs it imports.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace resources {

struct PeFacts {
  std::uint16_t machine = 0;
  std::uint16_t characteristics = 0;
  std::uint16_t optionalHeaderMagic = 0;
  std::uint16_t subsystem = 0;
  std::vector<std::string> importedDlls;  // as named in the import directory
};

// Nothing when the file cannot be read or is not a well-formed PE32 image.
std::optional<PeFacts> readPeFacts(const std::string& path);

}  // namespace resources
