// A call newer than the oldest Windows the program loads on is looked up
// while it runs (importing it would keep the program from loading there at
// all); the caller keeps the older way for where it is missing.
#pragma once

#include <windows.h>

namespace fw {

// The entry `name` of `module` as an `Fn`; null where either is missing. A
// FARPROC becomes another function type without a warning only via void*.
template <typename Fn>
Fn procAddress(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace fw
