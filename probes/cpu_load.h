// The CPU load as a whole percentage, from the 9x kernel statistic or, on
// the NT family, over the interval since the last sample: from
// GetSystemTimes where the system has it, else from ntdll's idle and system
// times.
#pragma once

#include <cstdint>

#include "probes/platform_kind.h"

// The readings of the last successful NT sample, in 100 ns units. Zero idle
// time means no sample has been taken yet. From ntdll: the idle time and the
// system clock; from GetSystemTimes: the idle time and the kernel plus user
// time of all processors. A process takes every sample from the same source.
struct CpuReadings {
  std::int64_t idleTime = 0;
  std::int64_t systemTime = 0;
  std::int64_t processorTime = 0;
};

// The one set of readings the whole process samples through, so the status
// window and the monitor window each measure from the other's last sample.
CpuReadings& processCpuReadings();

// The platform calls behind both sources.
class CpuLoadPlatform {
 public:
  virtual ~CpuLoadPlatform() = default;
  // A 32-bit value from the 9x dynamic-data registry; false when the key or
  // the value cannot be read.
  virtual bool readDynDataValue(const char* subkey, const char* valueName, std::int32_t& value) = 0;
  // Binds ntdll's NtQuerySystemInformation; false when it is not there.
  virtual bool bindSystemQuery() = 0;
  virtual void unbindSystemQuery() = 0;
  // NtQuerySystemInformation(infoClass, buffer, length, null): 0 on success.
  virtual std::int32_t querySystemInformation(std::uint32_t infoClass, void* buffer,
                                              std::uint32_t length) = 0;
  // Whether kernel32 has GetSystemTimes (from Windows XP SP1 on).
  virtual bool hasSystemTimes() = 0;
  // GetSystemTimes(idle, kernel, user); false when the call fails.
  virtual bool readSystemTimes(std::int64_t& idle, std::int64_t& kernel, std::int64_t& user) = 0;
};

CpuLoadPlatform& win32CpuLoadPlatform();

// The load 0..100 for the caller's platform kind; anything the source gives
// outside that range counts as no measurement and yields 0.
std::int32_t sampleCpuLoad(PlatformKind platformKind, CpuLoadPlatform& platform, CpuReadings& previous);
std::int32_t sampleCpuLoad(PlatformKind platformKind);

// The 9x kernel's CPU usage, unchecked; 0 when it cannot be read.
std::int32_t sampleCpuLoad9x(CpuLoadPlatform& platform);

// 100 minus the idle share per processor, rounded half up, from two
// readings. Values that cannot be represented as a 32-bit integer (no time
// elapsed, no processors) give 0.
std::int32_t ntLoadBetween(const CpuReadings& previous, const CpuReadings& current,
                           std::int32_t processorCount);

// The busy share of all processors' time between two GetSystemTimes
// readings, rounded half up. The kernel time includes the idle time, so busy
// is kernel + user - idle. No processor count enters: a 32-bit program on a
// machine of more than 32 processors is told of 32, while the times cover
// them all. No time elapsed gives 0.
std::int32_t systemTimesLoadBetween(const CpuReadings& previous, const CpuReadings& current);

// The load from GetSystemTimes since the previous sample; the first sample
// only records. A failed call yields 0 and keeps the previous readings.
std::int32_t sampleSystemTimes(CpuLoadPlatform& platform, CpuReadings& previous);

// Converts with truncation toward zero; false for NaN, infinities and
// values outside the 32-bit range, which must not reach a raw conversion.
bool truncateToInt32(double value, std::int32_t& result);

// A meter lives for one sample: it binds the query and reads the processor
// count when built, and updates the shared readings when sampled.
class NtCpuMeter {
 public:
  NtCpuMeter(CpuLoadPlatform& platform, CpuReadings& previous);
  ~NtCpuMeter();
  NtCpuMeter(const NtCpuMeter&) = delete;
  NtCpuMeter& operator=(const NtCpuMeter&) = delete;

  std::int32_t sample();

 private:
  void bindQuery();
  void readProcessorCount();
  void unbind();

  CpuLoadPlatform& platform_;
  CpuReadings& previous_;
  bool bound_ = false;
  std::int32_t processorCount_ = 0;
};
