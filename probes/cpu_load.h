// The CPU load as a whole percentage, from the 9x kernel statistic or from
// the NT idle and system times over the interval since the last sample.
#pragma once

#include <cstdint>

// The idle and system times of the last successful NT sample, in 100 ns
// units. Zero idle time means no sample has been taken yet.
struct CpuReadings {
  std::int64_t idleTime = 0;
  std::int64_t systemTime = 0;
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
};

CpuLoadPlatform& win32CpuLoadPlatform();

// The load 0..100 for the caller's platform kind; anything the source gives
// outside that range counts as no measurement and yields 0.
std::int32_t sampleCpuLoad(std::int32_t platformKind, CpuLoadPlatform& platform,
                           CpuReadings& previous);
std::int32_t sampleCpuLoad(std::int32_t platformKind);

// The 9x kernel's CPU usage, unchecked; 0 when it cannot be read.
std::int32_t sampleCpuLoad9x(CpuLoadPlatform& platform);

// 100 minus the idle share per processor, rounded half up, from two
// readings. Values that cannot be represented as a 32-bit integer (no time
// elapsed, no processors) give 0.
std::int32_t ntLoadBetween(const CpuReadings& previous, const CpuReadings& current,
                           std::int32_t processorCount);

// Converts with truncation toward zero; false for NaN, infinities and
// values outside the 32-bit range, which must not reach a raw conversion.
bool truncateToInt32(double value, std::int32_t& result);

// A meter lives for one sample: it binds the query and reads the processor
// count when built, and updates the shared readings when sampled.
class NtCpuMeter {
 public:
  NtCpuMeter(CpuLoadPlatform& platform, CpuReadings& previous);
  virtual ~NtCpuMeter();
  NtCpuMeter(const NtCpuMeter&) = delete;
  NtCpuMeter& operator=(const NtCpuMeter&) = delete;

  std::int32_t sample();
  std::int32_t processorCount() const { return processorCount_; }

 private:
  void bindQuery();
  void readProcessorCount();
  void unbind();

  CpuLoadPlatform& platform_;
  CpuReadings& previous_;
  bool bound_ = false;
  std::int32_t processorCount_ = 0;
};
