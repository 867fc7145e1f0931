#include "probes/system_identity.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr std::uint32_t kWin32s = 0;
constexpr std::uint32_t kWindows9x = 1;
constexpr std::uint32_t kWindowsNt = 2;

std::string formatSigned(const char* format, std::int32_t value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

}  // namespace

OsIdentity identifyOs(const OsVersionRecord& record) {
  // Minor 10 is 4.10 (Windows 98) and minor 3 is 4.03, so the version is
  // compared as major + minor / 100.
  const double version = record.majorVersion + record.minorVersion / 100.0;
  OsIdentity identity;
  switch (record.platformId) {
    case kWindowsNt:
      identity.platformKind = kPlatformNt;
      identity.name = version < 5.0 ? "WindowsNT" : "WindowsXP";
      break;
    case kWindows9x:
      identity.platformKind = kPlatform9x;
      if (version <= 4.0) {
        identity.name = "Windows 95";
      } else if (version < 4.9) {
        identity.name = "Windows 98";
      } else {
        identity.name = "Windows Me";
      }
      break;
    case kWin32s:
      identity.platformKind = kPlatform9x;
      identity.name = "Windows3.1上のWin32s";
      break;
    default:
      identity.platformKind = kPlatformUnidentified;
      identity.name = "不明なOS";
      break;
  }
  // The numbers print as signed decimals and the 9x build field is printed
  // whole, its version high word included.
  identity.versionLine = formatSigned("%d", static_cast<std::int32_t>(record.majorVersion)) + "." +
                         formatSigned("%d", static_cast<std::int32_t>(record.minorVersion)) +
                         " Build" +
                         formatSigned("%d", static_cast<std::int32_t>(record.buildNumber)) + " " +
                         record.servicePack;
  return identity;
}

std::string processorName(std::uint32_t processorType, bool program64Bit) {
  constexpr std::uint32_t kAmd64 = 8664;
  if (program64Bit && processorType == kAmd64) return "x64";
  switch (processorType) {
    case 386:
      return "386";
    case 486:
      return "486";
    case 586:
      return "Intel Pentium";
    case 4000:
      return "MIPS";
    case 21064:
      return "ALPHA";
    default:
      return formatSigned("UNKNOWN CPU (%d)", static_cast<std::int32_t>(processorType));
  }
}

OsVersionRecord readOsVersionRecord() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  GetVersionExA(&info);
  OsVersionRecord record;
  record.majorVersion = info.dwMajorVersion;
  record.minorVersion = info.dwMinorVersion;
  record.buildNumber = info.dwBuildNumber;
  record.platformId = info.dwPlatformId;
  // szCSDVersion is 128 bytes that need not be terminated.
  record.servicePack.assign(info.szCSDVersion,
                            strnlen(info.szCSDVersion, sizeof info.szCSDVersion));
  return record;
}

std::uint32_t readProcessorType() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return info.dwProcessorType;
}
