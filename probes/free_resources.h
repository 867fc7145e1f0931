// Free system, GDI and user resources, from the 9x Resource Meter library.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/handles.h"
#include "probes/platform_kind.h"

// The library's export: 0 system, 1 GDI, 2 user; returns the free percent.
using FreeResourcesFn = std::int32_t(WINAPI*)(std::int32_t);

struct FreeResources {
  std::int32_t system = 0;
  std::int32_t gdi = 0;
  std::int32_t user = 0;
};

// NT has no such limits and shows 100; without the library 9x shows 0; a
// library without the export leaves the previous figures.
FreeResources readFreeResources(PlatformKind platformKind, bool libraryLoaded,
                                FreeResourcesFn getFreeResources, const FreeResources& previous);

// The Resource Meter library as the status window holds it from start-up
// to its end.
class ResourceMeter {
 public:
  // Loads the library where it exists, the 9x family; false when it is
  // missing there, which the user is to be told.
  bool bind(PlatformKind platformKind);
  void unbind() { library_.reset(); }
  bool loaded() const { return static_cast<bool>(library_); }
  FreeResources read(PlatformKind platformKind, const FreeResources& previous) const {
    return readFreeResources(platformKind, loaded(), getFreeResources_, previous);
  }

 private:
  fw::Module library_;
  FreeResourcesFn getFreeResources_ = nullptr;
};
