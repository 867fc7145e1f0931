#include "probes/cpu_load.h"

#include <cmath>
#include <cstring>

namespace {

// NtQuerySystemInformation classes and the record layouts read. The basic
// record holds three pointer-sized members before the processor count, so
// its length and the count's offset follow the pointer size built for; the
// other two records are the same on either.
constexpr std::uint32_t kBasicInformation = 0;
#ifdef _WIN64
constexpr std::uint32_t kBasicInformationLength = 64;
constexpr std::size_t kProcessorCountOffset = 56;
#else
constexpr std::uint32_t kBasicInformationLength = 44;
constexpr std::size_t kProcessorCountOffset = 40;
#endif
constexpr std::uint32_t kPerformanceInformation = 2;
constexpr std::uint32_t kPerformanceInformationLength = 312;
constexpr std::size_t kIdleTimeOffset = 0;
constexpr std::uint32_t kTimeOfDayInformation = 3;
constexpr std::uint32_t kTimeOfDayInformationLength = 32;
constexpr std::size_t kCurrentTimeOffset = 8;

constexpr const char* kStartStatKey = "PerfStats\\StartStat";
constexpr const char* kStatDataKey = "PerfStats\\StatData";
constexpr const char* kCpuUsageValue = "KERNEL\\CPUUsage";

// A 64-bit platform value as the double high * 2^32 + low.
double toDouble(std::int64_t value) {
  const auto low = static_cast<std::uint32_t>(static_cast<std::uint64_t>(value) & 0xFFFFFFFFu);
  const auto high = static_cast<std::int32_t>(static_cast<std::uint64_t>(value) >> 32);
  return high * 4294967296.0 + low;
}

// later - earlier, wrapping rather than overflowing on nonsense readings.
std::int64_t difference(std::int64_t later, std::int64_t earlier) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(later) - static_cast<std::uint64_t>(earlier));
}

std::int64_t readInt64(const unsigned char* buffer, std::size_t offset) {
  std::int64_t value = 0;
  std::memcpy(&value, buffer + offset, sizeof value);
  return value;
}

}  // namespace

CpuReadings& processCpuReadings() {
  static CpuReadings readings;
  return readings;
}

bool truncateToInt32(double value, std::int32_t& result) {
  if (!std::isfinite(value)) return false;
  const double truncated = std::trunc(value);
  if (truncated < -2147483648.0 || truncated > 2147483647.0) return false;
  result = static_cast<std::int32_t>(truncated);
  return true;
}

std::int32_t ntLoadBetween(const CpuReadings& previous, const CpuReadings& current,
                           std::int32_t processorCount) {
  const double idleDelta = toDouble(current.idleTime) - toDouble(previous.idleTime);
  const double timeDelta = toDouble(current.systemTime) - toDouble(previous.systemTime);
  const double idleShare = idleDelta / timeDelta;
  const double idlePercentPerProcessor = idleShare * 100.0 / processorCount;
  const double load = 100.0 - idlePercentPerProcessor + 0.5;
  std::int32_t result = 0;
  if (!truncateToInt32(load, result)) return 0;
  return result;
}

std::int32_t systemTimesLoadBetween(const CpuReadings& previous, const CpuReadings& current) {
  // The differences are taken in 64 bits: the totals of many processors
  // over a long uptime lie beyond what a double holds exactly.
  const double idle = static_cast<double>(difference(current.idleTime, previous.idleTime));
  const double total = static_cast<double>(difference(current.processorTime, previous.processorTime));
  const double load = (total - idle) * 100.0 / total + 0.5;
  std::int32_t result = 0;
  if (!truncateToInt32(load, result)) return 0;
  return result;
}

std::int32_t sampleSystemTimes(CpuLoadPlatform& platform, CpuReadings& previous) {
  std::int64_t idle = 0;
  std::int64_t kernel = 0;
  std::int64_t user = 0;
  if (!platform.readSystemTimes(idle, kernel, user)) return 0;
  CpuReadings current;
  current.idleTime = idle;
  current.processorTime = kernel + user;
  std::int32_t load = 0;
  if (previous.idleTime != 0) load = systemTimesLoadBetween(previous, current);
  previous = current;
  return load;
}

NtCpuMeter::NtCpuMeter(CpuLoadPlatform& platform, CpuReadings& previous)
    : platform_(platform), previous_(previous) {
  bindQuery();
  readProcessorCount();
}

NtCpuMeter::~NtCpuMeter() { unbind(); }

void NtCpuMeter::bindQuery() { bound_ = platform_.bindSystemQuery(); }

void NtCpuMeter::readProcessorCount() {
  processorCount_ = 0;
  if (!bound_) return;
  unsigned char basic[kBasicInformationLength] = {};
  if (platform_.querySystemInformation(kBasicInformation, basic, sizeof basic) != 0) return;
  processorCount_ = basic[kProcessorCountOffset];
}

void NtCpuMeter::unbind() {
  if (!bound_) return;
  platform_.unbindSystemQuery();
  bound_ = false;
  processorCount_ = 0;
}

std::int32_t NtCpuMeter::sample() {
  if (!bound_) return 0;
  unsigned char timeOfDay[kTimeOfDayInformationLength] = {};
  if (platform_.querySystemInformation(kTimeOfDayInformation, timeOfDay, sizeof timeOfDay) != 0) {
    return 0;
  }
  unsigned char performance[kPerformanceInformationLength] = {};
  if (platform_.querySystemInformation(kPerformanceInformation, performance,
                                       sizeof performance) != 0) {
    return 0;
  }
  CpuReadings current;
  current.systemTime = readInt64(timeOfDay, kCurrentTimeOffset);
  current.idleTime = readInt64(performance, kIdleTimeOffset);

  // The first sample of the process only records where the interval starts.
  std::int32_t load = 0;
  if (previous_.idleTime != 0) load = ntLoadBetween(previous_, current, processorCount_);
  previous_ = current;
  return load;
}

std::int32_t sampleCpuLoad9x(CpuLoadPlatform& platform) {
  // Reading the start key is what switches the kernel's statistic on; it is
  // read again before every sample.
  std::int32_t ignored = 0;
  platform.readDynDataValue(kStartStatKey, kCpuUsageValue, ignored);
  std::int32_t usage = 0;
  if (!platform.readDynDataValue(kStatDataKey, kCpuUsageValue, usage)) return 0;
  return usage;
}

std::int32_t sampleCpuLoad(PlatformKind platformKind, CpuLoadPlatform& platform, CpuReadings& previous) {
  std::int32_t load = 0;
  if (platformKind == kPlatform9x) {
    load = sampleCpuLoad9x(platform);
  } else if (platformKind == kPlatformNt) {
    // ntdll's processor count need not cover all the processors its idle
    // time does; GetSystemTimes counts the same processors in every time.
    if (platform.hasSystemTimes()) {
      load = sampleSystemTimes(platform, previous);
    } else {
      NtCpuMeter meter(platform, previous);
      load = meter.sample();
    }
  }
  if (load > 100 || load < 0) load = 0;
  return load;
}

std::int32_t sampleCpuLoad(PlatformKind platformKind) {
  return sampleCpuLoad(platformKind, win32CpuLoadPlatform(), processCpuReadings());
}
