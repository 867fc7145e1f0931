// Names the operating system and the processor from the platform's records.
#pragma once

#include <cstdint>
#include <string>

#include "probes/platform_kind.h"

struct OsVersionRecord {
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;
  std::wstring servicePack;
};

struct OsIdentity {
  PlatformKind platformKind = kPlatformUnidentified;
  std::wstring name;
  std::wstring versionLine;
};

// The two names that are words of the interface's language rather than
// product names.
struct OsNames {
  std::wstring win32s;
  std::wstring unknown;
};
OsIdentity identifyOs(const OsVersionRecord& record, const OsNames& names);
// A 64-bit program is told 8664 on every x64 processor and names it "x64";
// the 32-bit program is never told 8664 and names processors by the table
// alone.
constexpr bool kProgramIs64Bit = sizeof(void*) == 8;
std::wstring processorName(std::uint32_t processorType, bool program64Bit = kProgramIs64Bit);

// Platform side: GetVersionExA and GetSystemInfo.
OsVersionRecord readOsVersionRecord();
std::uint32_t readProcessorType();
