// Free system, GDI and user resources, from the 9x Resource Meter library.
#pragma once

#include <windows.h>

#include <cstdint>

// The library's export: 0 system, 1 GDI, 2 user; returns the free percent.
using FreeResourcesFn = std::int32_t(WINAPI*)(std::int32_t);

struct FreeResources {
  std::int32_t system = 0;
  std::int32_t gdi = 0;
  std::int32_t user = 0;
};

// NT has no such limits and shows 100; without the library 9x shows 0; a
// library without the export leaves the previous figures.
FreeResources readFreeResources(std::int32_t platformKind, bool libraryLoaded,
                                FreeResourcesFn getFreeResources, const FreeResources& previous);
