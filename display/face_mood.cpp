#include "display/face_mood.h"

#include "res/resource.h"

namespace {
constexpr std::int32_t kBusyAboveLoad = 50;
constexpr std::int32_t kFineAboveResources = 60;
constexpr std::int32_t kCalmFromResources = 31;
constexpr std::int32_t kCalmFromUsedMemory = 60;
constexpr std::int32_t kDownFromUsedMemory = 90;
}  // namespace

std::int32_t usedMemoryPercent(std::uint64_t total, std::uint64_t free) {
  // In doubles throughout, so a total with nothing free cannot wrap round
  // to 0.
  const double used = static_cast<double>(total) - static_cast<double>(free) + 1.0;
  return static_cast<std::int32_t>(used / static_cast<double>(total) * 100.0);
}

FaceMood selectFace(const FaceReadings& readings) {
  if (readings.cpuLoad > kBusyAboveLoad) return FaceMood::Busy;
  if (readings.resourceMeterLoaded && readings.platformKind != kPlatformNt) {
    if (readings.systemResources > kFineAboveResources) return FaceMood::Fine;
    if (readings.systemResources >= kCalmFromResources) return FaceMood::Calm;
    return FaceMood::Down;
  }
  if (readings.physicalTotal == 0) return FaceMood::Fine;
  const std::int32_t used = usedMemoryPercent(readings.physicalTotal, readings.physicalFree);
  if (used < kCalmFromUsedMemory) return FaceMood::Fine;
  if (used < kDownFromUsedMemory) return FaceMood::Calm;
  return FaceMood::Down;
}

int faceResourceId(FaceMood mood) {
  switch (mood) {
    case FaceMood::Fine:
      return IDB_FACE_FINE;
    case FaceMood::Calm:
      return IDB_FACE_CALM;
    case FaceMood::Down:
      return IDB_FACE_DOWN;
    case FaceMood::Busy:
      return IDB_FACE_BUSY;
  }
  return IDB_FACE_FINE;
}

const wchar_t* faceFileName(FaceMood mood) {
  switch (mood) {
    case FaceMood::Fine:
      return L"fine.bmp";
    case FaceMood::Calm:
      return L"calm.bmp";
    case FaceMood::Down:
      return L"down.bmp";
    case FaceMood::Busy:
      return L"busy.bmp";
  }
  return L"fine.bmp";
}
