// Generated settings files that no program should trust: random bytes,
// huge lines, extreme and non-numeric values, missing and duplicated
// sections, foreign keys. The same index always gives the same file.
#pragma once

#include <string>

namespace endurance {

struct GeneratedFile {
  std::string kind;
  std::string bytes;
};

constexpr int kSettingsKinds = 7;
GeneratedFile badSettingsFile(int index);

}  // namespace endurance
