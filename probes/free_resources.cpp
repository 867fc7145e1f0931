#include "probes/free_resources.h"

#include <string>

#include "framework/proc_address.h"

namespace {
constexpr std::int32_t kSystemResources = 0;
constexpr std::int32_t kGdiResources = 1;
constexpr std::int32_t kUserResources = 2;
constexpr std::int32_t kNoLimit = 100;
constexpr const char* kResourceMeterLibrary = "RSRC32.dll";
constexpr const char* kFreeResourcesExport = "_MyGetFreeSystemResources32@4";

// The Resource Meter is a system component: loading it by bare name would
// also find a planted copy in the current directory. Only the 9x family
// has it, so the narrow calls serve.
HMODULE loadFromSystemDirectory() {
  char directory[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::string path(directory, length);
  if (path.back() != '\\') path += '\\';
  return LoadLibraryA((path + kResourceMeterLibrary).c_str());
}
}  // namespace

FreeResources readFreeResources(PlatformKind platformKind, bool libraryLoaded,
                                FreeResourcesFn getFreeResources, const FreeResources& previous) {
  if (platformKind == kPlatformNt) return {kNoLimit, kNoLimit, kNoLimit};
  if (!libraryLoaded) return {0, 0, 0};
  if (!getFreeResources) return previous;
  FreeResources resources;
  resources.system = getFreeResources(kSystemResources);
  resources.gdi = getFreeResources(kGdiResources);
  resources.user = getFreeResources(kUserResources);
  return resources;
}

bool ResourceMeter::bind(PlatformKind platformKind) {
  if (platformKind != kPlatform9x) return true;
  library_.reset(loadFromSystemDirectory());
  if (!library_) return false;
  getFreeResources_ = fw::procAddress<FreeResourcesFn>(library_.get(), kFreeResourcesExport);
  return true;
}
