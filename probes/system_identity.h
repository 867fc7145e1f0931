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
  std::int32_t platformKind = kPlatformUnidentified;
  std::wstring name;
  std::wstring versionLine;
};

OsIdentity identifyOs(const OsVersionRecord& record);
std::wstring processorName(std::uint32_t processorType);

// Platform side: GetVersionExA and GetSystemInfo.
OsVersionRecord readOsVersionRecord();
std::uint32_t readProcessorType();
