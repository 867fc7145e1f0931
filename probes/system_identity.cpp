#include "probes/system_identity.h"

#include <windows.h>

#include "framework/platform_text.h"

namespace {

constexpr std::uint32_t kWin32s = 0;
constexpr std::uint32_t kWindows9x = 1;
constexpr std::uint32_t kWindowsNt = 2;

// The record's numbers print as signed decimals.
std::wstring signedText(std::uint32_t value) { return fw::decimalText(static_cast<std::int32_t>(value)); }

}  // namespace

OsIdentity identifyOs(const OsVersionRecord& record, const OsNames& names) {
  // Minor 10 is 4.10 (Windows 98) and minor 3 is 4.03, so the version is
  // compared as major + minor / 100.
  const double version = record.majorVersion + record.minorVersion / 100.0;
  OsIdentity identity;
  switch (record.platformId) {
    case kWindowsNt:
      identity.platformKind = kPlatformNt;
      identity.name = version < 5.0 ? L"WindowsNT" : L"WindowsXP";
      break;
    case kWindows9x:
      identity.platformKind = kPlatform9x;
      if (version <= 4.0) {
        identity.name = L"Windows 95";
      } else if (version < 4.9) {
        identity.name = L"Windows 98";
      } else {
        identity.name = L"Windows Me";
      }
      break;
    case kWin32s:
      identity.platformKind = kPlatform9x;
      identity.name = names.win32s;
      break;
    default:
      identity.platformKind = kPlatformUnidentified;
      identity.name = names.unknown;
      break;
  }
  // The 9x build field is printed whole, its version high word included.
  identity.versionLine = signedText(record.majorVersion) + L"." + signedText(record.minorVersion) + L" Build" +
                         signedText(record.buildNumber) + L" " + record.servicePack;
  return identity;
}

std::wstring processorName(std::uint32_t processorType, bool program64Bit) {
  constexpr std::uint32_t kAmd64 = 8664;
  if (program64Bit && processorType == kAmd64) return L"x64";
  switch (processorType) {
    case 386:
      return L"386";
    case 486:
      return L"486";
    case 586:
      return L"Intel Pentium";
    case 4000:
      return L"MIPS";
    case 21064:
      return L"ALPHA";
    default:
      return L"UNKNOWN CPU (" + signedText(processorType) + L")";
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
  // szCSDVersion is 128 bytes in the system's code page that need not be
  // terminated.
  record.servicePack =
      fw::fromCodePage(CP_ACP, std::string(info.szCSDVersion, strnlen(info.szCSDVersion, sizeof info.szCSDVersion)));
  return record;
}

std::uint32_t readProcessorType() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return info.dwProcessorType;
}
