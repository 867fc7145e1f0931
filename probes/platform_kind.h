// The platform family every probe branches on.
#pragma once

#include <cstdint>

enum PlatformKind : std::int32_t {
  kPlatformUnidentified = 0,
  kPlatform9x = 1,  // Windows 95/98/Me and Win32s
  kPlatformNt = 2,
};
