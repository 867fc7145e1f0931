// Which face the status window shows: the mood follows the CPU load and,
// when the load is not high, the free system resources (9x family with the
// Resource Meter) or the used share of physical memory.
#pragma once

#include <cstdint>

#include "probes/platform_kind.h"

enum class FaceMood { Fine, Calm, Down, Busy };

// Used physical memory in whole percent, ((total - free + 1) / total) * 100
// in doubles, truncated; the "+ 1" counts one unit of whatever unit the
// figures are in. Meaningless when total is 0.
std::int32_t usedMemoryPercent(std::uint64_t total, std::uint64_t free);

// The figures one refresh has just read.
struct FaceReadings {
  std::int32_t cpuLoad = 0;
  bool resourceMeterLoaded = false;
  PlatformKind platformKind = kPlatformUnidentified;
  std::int32_t systemResources = 0;
  std::uint64_t physicalTotal = 0;
  std::uint64_t physicalFree = 0;
};

// A total of 0 means no memory figure was ever read (no unit chosen):
// nothing speaks against the machine then, so the face is fine.
FaceMood selectFace(const FaceReadings& readings);

// The built-in bitmap resource and the face-set file name of each mood.
int faceResourceId(FaceMood mood);
const wchar_t* faceFileName(FaceMood mood);
