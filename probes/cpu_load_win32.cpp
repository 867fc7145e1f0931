// The Win32 side of the CPU-load sources: HKEY_DYN_DATA, ntdll and
// kernel32's GetSystemTimes.
#include <windows.h>

#include "framework/handles.h"
#include "framework/proc_address.h"
#include "probes/cpu_load.h"

namespace {

using NtQuerySystemInformationFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
using GetSystemTimesFn = BOOL(WINAPI*)(FILETIME*, FILETIME*, FILETIME*);

std::int64_t toInt64(const FILETIME& time) {
  const std::uint64_t high = time.dwHighDateTime;
  return static_cast<std::int64_t>((high << 32) | time.dwLowDateTime);
}

// Looked up at run time, so the one program still starts where kernel32
// lacks it (Windows 9x, NT 4, Windows 2000); looked up once, since kernel32
// stays loaded for the life of the process.
GetSystemTimesFn systemTimesEntry() {
  static const GetSystemTimesFn entry =
      fw::procAddress<GetSystemTimesFn>(GetModuleHandleA("kernel32"), "GetSystemTimes");
  return entry;
}

class Win32CpuLoadPlatform final : public CpuLoadPlatform {
 public:
  bool readDynDataValue(const char* subkey, const char* valueName, std::int32_t& value) override {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_DYN_DATA, subkey, 0, KEY_READ, &raw) != ERROR_SUCCESS) return false;
    fw::RegistryKey key(raw);
    DWORD type = 0;
    std::int32_t data = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&data),
                         &size) != ERROR_SUCCESS) {
      return false;
    }
    value = data;
    return true;
  }

  bool bindSystemQuery() override {
    // ntdll is always loaded; no reference is taken, so none is released.
    query_ = fw::procAddress<NtQuerySystemInformationFn>(GetModuleHandleA("ntdll"), "NtQuerySystemInformation");
    return query_ != nullptr;
  }

  void unbindSystemQuery() override { query_ = nullptr; }

  std::int32_t querySystemInformation(std::uint32_t infoClass, void* buffer,
                                      std::uint32_t length) override {
    if (!query_) return -1;
    return query_(infoClass, buffer, length, nullptr);
  }

  bool hasSystemTimes() override { return systemTimesEntry() != nullptr; }

  bool readSystemTimes(std::int64_t& idle, std::int64_t& kernel, std::int64_t& user) override {
    const GetSystemTimesFn entry = systemTimesEntry();
    FILETIME idleTime{};
    FILETIME kernelTime{};
    FILETIME userTime{};
    if (!entry || !entry(&idleTime, &kernelTime, &userTime)) return false;
    idle = toInt64(idleTime);
    kernel = toInt64(kernelTime);
    user = toInt64(userTime);
    return true;
  }

 private:
  NtQuerySystemInformationFn query_ = nullptr;
};

}  // namespace

CpuLoadPlatform& win32CpuLoadPlatform() {
  static Win32CpuLoadPlatform platform;
  return platform;
}
