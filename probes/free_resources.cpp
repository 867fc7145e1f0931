#include "probes/free_resources.h"

#include "probes/platform_kind.h"

namespace {
constexpr std::int32_t kSystemResources = 0;
constexpr std::int32_t kGdiResources = 1;
constexpr std::int32_t kUserResources = 2;
constexpr std::int32_t kNoLimit = 100;
}  // namespace

FreeResources readFreeResources(std::int32_t platformKind, bool libraryLoaded,
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
