#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "probes/cpu_load.h"
#include "probes/platform_kind.h"

namespace {

constexpr std::int64_t kSecond = 10'000'000;  // in 100 ns units

struct Query {
  std::uint32_t infoClass;
  std::uint32_t length;
};

bool operator==(const Query& a, const Query& b) {
  return a.infoClass == b.infoClass && a.length == b.length;
}
void PrintTo(const Query& q, std::ostream* os) {
  *os << "{class " << q.infoClass << ", length " << q.length << "}";
}

// The basic record's length and processor-count offset for the pointer size
// built for: three pointer-sized members come before the count.
#ifdef _WIN64
constexpr std::uint32_t kBasicLength = 64;
constexpr std::size_t kProcessorCountAt = 56;
#else
constexpr std::uint32_t kBasicLength = 44;
constexpr std::size_t kProcessorCountAt = 40;
#endif

// Answers the documented records at their documented offsets; every other
// byte is junk, so a read at the wrong offset shows. A record asked for with
// another length than the documented one is refused and left untouched.
class FakeCpuPlatform final : public CpuLoadPlatform {
 public:
  bool bindSucceeds = true;
  std::int32_t basicStatus = 0;
  std::uint8_t processors = 1;
  std::int32_t timeStatus = 0;
  std::int64_t systemTime = 0;
  std::int32_t performanceStatus = 0;
  std::int64_t idleTime = 0;
  bool statDataReadable = true;
  std::int32_t cpuUsage = 0;
  bool systemTimesPresent = false;
  std::int32_t systemTimesStatus = 0;
  std::int64_t userTime = 0;

  int binds = 0;
  int unbinds = 0;
  std::vector<Query> queries;
  std::vector<std::string> dynDataReads;  // "subkey|value"

  void setTimes(std::int64_t idle, std::int64_t time) {
    idleTime = idle;
    systemTime = time;
  }

  bool readDynDataValue(const char* subkey, const char* valueName, std::int32_t& value) override {
    dynDataReads.push_back(std::string(subkey) + "|" + valueName);
    if (std::string(subkey) == "PerfStats\\StartStat") {
      value = 12345;  // the start key's own value means nothing
      return true;
    }
    if (!statDataReadable) return false;
    value = cpuUsage;
    return true;
  }

  bool bindSystemQuery() override {
    ++binds;
    return bindSucceeds;
  }
  void unbindSystemQuery() override { ++unbinds; }

  bool hasSystemTimes() override { return systemTimesPresent; }
  // Kernel (idle included) plus user make systemTime, as on one processor.
  bool readSystemTimes(std::int64_t& idle, std::int64_t& kernel, std::int64_t& user) override {
    idle = idleTime;
    kernel = systemTime - userTime;
    user = userTime;
    return systemTimesStatus == 0;
  }

  std::int32_t querySystemInformation(std::uint32_t infoClass, void* buffer,
                                      std::uint32_t length) override {
    queries.push_back({infoClass, length});
    auto* bytes = static_cast<unsigned char*>(buffer);
    switch (infoClass) {
      case 0:
        if (length != kBasicLength) return kRefused;
        std::memset(bytes, 0xA5, length);
        bytes[kProcessorCountAt] = processors;
        return basicStatus;
      case 3:
        if (length != 32) return kRefused;
        std::memset(bytes, 0xA5, length);
        std::memcpy(bytes + 8, &systemTime, sizeof systemTime);
        return timeStatus;
      case 2:
        if (length != 312) return kRefused;
        std::memset(bytes, 0xA5, length);
        std::memcpy(bytes, &idleTime, sizeof idleTime);
        return performanceStatus;
      default:
        return kRefused;
    }
  }

 private:
  static constexpr std::int32_t kRefused = static_cast<std::int32_t>(0xC0000004);  // length mismatch
};

constexpr std::int32_t kFailure = static_cast<std::int32_t>(0xC0000001);

// --- the arithmetic over two readings ------------------------------------

struct LoadRow {
  const char* note;
  std::int64_t idleDelta;
  std::int64_t timeDelta;
  std::int32_t processors;
  std::int32_t load;
  bool systemTimes = false;  // GetSystemTimes' rule; timeDelta is kernel + user
};

TEST(NtLoadBetween, HundredMinusIdleSharePerProcessorRoundedHalfUp) {
  const LoadRow rows[] = {
      {"quarter idle on 1 CPU: v = 75.5", 2'500'000, kSecond, 1, 75},
      {"same idle summed over 2 CPUs: v = 88.0", 2'500'000, kSecond, 2, 88},
      {"no idle time: v = 100.5", 0, kSecond, 1, 100},
      {"0.5 % idle rounds up to 100", 50'000, kSecond, 1, 100},
      {"0.6 % idle gives 99", 60'000, kSecond, 1, 99},
      {"all idle: v = 0.5", kSecond, kSecond, 1, 0},
      // Each step rounds to double: 0.535 x 100 is 53.5 exactly, while
      // 0.545 x 100 is 54.500000000000007 and lands just below 46.
      {"53.5 % idle: v = 47.0", 5'350'000, kSecond, 1, 47},
      {"54.5 % idle: v = 45.99999999999999", 5'450'000, kSecond, 1, 45},
      {"121.5 % idle over 3 CPUs: v = 59.99999999999999", 12'150'000, kSecond, 3, 59},
      {"idle 1.01 x clock: v = -0.5 truncates to 0", 10'100'000, kSecond, 1, 0},
      {"idle 1.02 x clock: v = -1.5 truncates to -1", 10'200'000, kSecond, 1, -1},
      {"idle going backwards: v = 110.5", -1'000'000, kSecond, 1, 110},
      {"no time elapsed: infinite", 2'500'000, 0, 1, 0},
      {"nothing elapsed at all: NaN", 0, 0, 1, 0},
      {"no processors: infinite", 2'500'000, kSecond, 0, 0},
      {"no processors and no idle: NaN", 0, kSecond, 0, 0},
      {"far below the 32-bit range", 1'000'000'000'000'000, 1, 1, 0},
      // A 32-bit program on 64 processors is told of 32, but the idle time
      // covers all 64: a second 77 % busy reads 53, the wrong figure.
      {"64 CPUs, 15 s idle, told of 32: v = 53.625", 15 * kSecond, kSecond, 32, 53},
      {"the same second from GetSystemTimes: v = 77.0625", 15 * kSecond, 64 * kSecond, 0, 77, true},
      {"GetSystemTimes, all idle: v = 0.5", 64 * kSecond, 64 * kSecond, 0, 0, true},
      {"GetSystemTimes, fully busy: v = 100.5", 0, 64 * kSecond, 0, 100, true},
      {"GetSystemTimes, nothing elapsed: NaN", 0, 0, 0, 0, true},
  };
  // Start from readings with a high half, so both halves take part.
  const CpuReadings previous{0x1'2345'6789LL, 0x7'FFFF'FFF0LL, 0x7'FFFF'FFF0LL};
  for (const LoadRow& row : rows) {
    const CpuReadings current{previous.idleTime + row.idleDelta, previous.systemTime + row.timeDelta,
                              previous.processorTime + row.timeDelta};
    EXPECT_EQ(row.load, row.systemTimes ? systemTimesLoadBetween(previous, current)
                                        : ntLoadBetween(previous, current, row.processors))
        << row.note;
  }
}

TEST(TruncateToInt32, TruncatesTowardZeroAndRejectsWhatDoesNotFit) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    bool fits;
    std::int32_t result;
  } rows[] = {
      {nan, false, 0},
      {inf, false, 0},
      {-inf, false, 0},
      {2147483648.0, false, 0},  // 2^31
      {-2147483649.0, false, 0},  // -2^31 - 1
      {1e300, false, 0},
      {2147483647.9, true, 2147483647},
      {-2147483648.0, true, std::numeric_limits<std::int32_t>::min()},
      {-2147483648.9, true, std::numeric_limits<std::int32_t>::min()},  // toward zero
      {-0.5, true, 0},
      {-1.5, true, -1},
      {0.5, true, 0},
      {99.9, true, 99},
      {100.5, true, 100},
  };
  for (const auto& row : rows) {
    std::int32_t result = 777;
    EXPECT_EQ(row.fits, truncateToInt32(row.value, result)) << "value " << row.value;
    if (row.fits) {
      EXPECT_EQ(row.result, result) << "value " << row.value;
    }
  }
}

// --- the meter over the fake platform --------------------------------------

// 100 s of idle time in 1 s of clock: each of 200 processors idle half of
// it, load 50; the count read as a signed byte (-56) would give 279.
TEST(NtCpuMeter, BindsAndReadsTheProcessorCountAsAnUnsignedByte) {
  FakeCpuPlatform platform;
  platform.processors = 200;
  platform.setTimes(105 * kSecond, 101 * kSecond);
  CpuReadings readings{5 * kSecond, 100 * kSecond};
  {
    NtCpuMeter meter(platform, readings);
    EXPECT_EQ(1, platform.binds);
    ASSERT_EQ(1u, platform.queries.size());
    EXPECT_EQ((Query{0, kBasicLength}), platform.queries[0]);
    EXPECT_EQ(50, meter.sample());
    EXPECT_EQ(0, platform.unbinds);
  }
  EXPECT_EQ(1, platform.unbinds) << "the meter releases its binding when destroyed";
}

// Without a processor count the idle share cannot be divided: no load.
TEST(NtCpuMeter, FailedBasicQueryGivesNoProcessors) {
  FakeCpuPlatform platform;
  platform.processors = 4;
  platform.basicStatus = kFailure;
  platform.setTimes(7 * kSecond, 101 * kSecond);
  CpuReadings readings{5 * kSecond, 100 * kSecond};
  NtCpuMeter meter(platform, readings);
  EXPECT_EQ(0, meter.sample()) << "4 processors read would give 50";
}

TEST(NtCpuMeter, WithoutTheQueryEntryNothingIsQueriedAndTheLoadIsZero) {
  FakeCpuPlatform platform;
  platform.bindSucceeds = false;
  platform.setTimes(3 * kSecond, 50 * kSecond);
  CpuReadings readings{kSecond, 40 * kSecond};
  NtCpuMeter meter(platform, readings);
  EXPECT_EQ(0, meter.sample());
  EXPECT_TRUE(platform.queries.empty()) << platform.queries.size() << " queries through a null entry";
  EXPECT_EQ(kSecond, readings.idleTime);
  EXPECT_EQ(40 * kSecond, readings.systemTime);
}

TEST(NtCpuMeter, SampleQueriesTimeThenPerformanceWithTheirRecordLengths) {
  FakeCpuPlatform platform;
  CpuReadings readings;
  NtCpuMeter meter(platform, readings);
  meter.sample();
  const std::vector<Query> expected{{0, kBasicLength}, {3, 32}, {2, 312}};
  EXPECT_EQ(expected, platform.queries);
}

TEST(NtCpuMeter, OutOfRangeResultIsReturnedAndClampedOnlyBySampleCpuLoad) {
  const struct {
    const char* note;
    std::int64_t idleDelta;
    std::int32_t meterResult;
  } rows[] = {
      {"idle 1.02 x clock: v = -1.5", 10'200'000, -1},
      {"idle going backwards: v = 110.5, not taken as 100", -1'000'000, 110},
  };
  for (const auto& row : rows) {
    FakeCpuPlatform platform;
    platform.setTimes(5 * kSecond + row.idleDelta, 101 * kSecond);
    CpuReadings readings{5 * kSecond, 100 * kSecond};
    {
      NtCpuMeter meter(platform, readings);
      EXPECT_EQ(row.meterResult, meter.sample()) << row.note;
    }
    readings = {5 * kSecond, 100 * kSecond};
    EXPECT_EQ(0, sampleCpuLoad(kPlatformNt, platform, readings)) << row.note;
  }
}

// --- the NT source through sampleCpuLoad -----------------------------------

// Drives a sequence of samples through one set of readings, as the status
// and monitor windows do.
class NtSampling : public ::testing::Test {
 protected:
  std::int32_t sampleAt(std::int64_t idle, std::int64_t time) {
    platform.setTimes(idle, time);
    return sampleCpuLoad(kPlatformNt, platform, readings);
  }
  void expectReadings(std::int64_t idle, std::int64_t time, const char* when) {
    EXPECT_EQ(idle, readings.idleTime) << when;
    // GetSystemTimes' kernel plus user time stands where ntdll's clock would.
    EXPECT_EQ(time, platform.systemTimesPresent ? readings.processorTime : readings.systemTime) << when;
  }

  FakeCpuPlatform platform;
  CpuReadings readings;
};

TEST_F(NtSampling, FirstSampleIsZeroAndRecordsTheReadings) {
  EXPECT_EQ(0, sampleAt(7 * kSecond, 100 * kSecond));
  expectReadings(7 * kSecond, 100 * kSecond, "after the first sample");
  EXPECT_EQ(75, sampleAt(7 * kSecond + 2'500'000, 101 * kSecond));
  expectReadings(7 * kSecond + 2'500'000, 101 * kSecond, "after the second sample");
}

TEST_F(NtSampling, OnlyAZeroPreviousIdleTimeMarksTheFirstSample) {
  readings = {0, 100 * kSecond};
  EXPECT_EQ(0, sampleAt(2'500'000, 101 * kSecond)) << "previous idle zero: first sample";

  readings = {kSecond, 0};
  EXPECT_EQ(75, sampleAt(kSecond + 2'500'000, kSecond))
      << "previous system time zero alone is an ordinary sample over the whole clock";
}

TEST_F(NtSampling, TwoProcessorsHalveTheIdleShare) {
  platform.processors = 2;
  sampleAt(kSecond, 100 * kSecond);
  EXPECT_EQ(88, sampleAt(kSecond + 2'500'000, 101 * kSecond));
}

TEST_F(NtSampling, ReadingsAcrossTheLow32BitsWrapUseTheHighHalf) {
  const std::int64_t idle = 0xFFFF'FFFFLL - 1'000'000;
  const std::int64_t time = 0x2'FFFF'FFFFLL - 4 * kSecond;
  sampleAt(idle, time);
  EXPECT_EQ(75, sampleAt(idle + 2'500'000, time + kSecond));
}

TEST_F(NtSampling, NoElapsedTimeGivesZeroButStillRecords) {
  sampleAt(kSecond, 100 * kSecond);
  EXPECT_EQ(0, sampleAt(kSecond + 1'000'000, 100 * kSecond));
  expectReadings(kSecond + 1'000'000, 100 * kSecond, "after the zero-interval sample");
}

TEST_F(NtSampling, UnreadableProcessorCountGivesZeroButStillRecords) {
  sampleAt(kSecond, 100 * kSecond);
  platform.basicStatus = kFailure;
  EXPECT_EQ(0, sampleAt(kSecond + 2'500'000, 101 * kSecond));
  expectReadings(kSecond + 2'500'000, 101 * kSecond, "after the sample without processors");
}

TEST_F(NtSampling, AFailedQueryKeepsTheReadingsAndTheNextSampleMeasuresFromBeforeIt) {
  const struct {
    const char* note;
    std::int32_t FakeCpuPlatform::*status;
  } rows[] = {
      {"time-of-day query fails", &FakeCpuPlatform::timeStatus},
      {"performance query fails", &FakeCpuPlatform::performanceStatus},
      {"GetSystemTimes fails, and ntdll is not asked instead", &FakeCpuPlatform::systemTimesStatus},
  };
  for (const auto& row : rows) {
    platform = FakeCpuPlatform{};
    platform.systemTimesPresent = row.status == &FakeCpuPlatform::systemTimesStatus;
    readings = {};
    sampleAt(kSecond, 100 * kSecond);
    platform.*row.status = kFailure;
    // Had this half-way reading been kept, the next load would be 50.
    EXPECT_EQ(0, sampleAt(kSecond + 2'500'000, 100 * kSecond + kSecond / 2)) << row.note;
    expectReadings(kSecond, 100 * kSecond, row.note);
    platform.*row.status = 0;
    EXPECT_EQ(75, sampleAt(kSecond + 2'500'000, 101 * kSecond)) << row.note;
  }
}

TEST_F(NtSampling, GetSystemTimesAddsUserToKernelAndNeedsNoNtdllNorItsCount) {
  platform.systemTimesPresent = true;
  platform.processors = 32;
  EXPECT_EQ(0, sampleAt(kSecond, 100 * kSecond)) << "the first sample only records";
  platform.userTime = 30 * kSecond;  // a second of 64 processors, 15 s of it idle
  EXPECT_EQ(77, sampleAt(16 * kSecond, 164 * kSecond));
  EXPECT_TRUE(platform.queries.empty()) << platform.queries.size() << " ntdll queries";
}

TEST_F(NtSampling, EachSampleBindsItsOwnMeterAndReleasesIt) {
  sampleAt(kSecond, 100 * kSecond);
  sampleAt(kSecond, 101 * kSecond);
  EXPECT_EQ(2, platform.binds);
  EXPECT_EQ(2, platform.unbinds);
  EXPECT_TRUE(platform.dynDataReads.empty()) << "the NT source never reads the 9x registry";
}

TEST_F(NtSampling, BindFailureGivesZero) {
  sampleAt(kSecond, 100 * kSecond);
  platform.bindSucceeds = false;
  EXPECT_EQ(0, sampleAt(kSecond + 2'500'000, 101 * kSecond));
  expectReadings(kSecond, 100 * kSecond, "after the unbound sample");
}

// --- the 9x source and the choice of source --------------------------------

TEST(SampleCpuLoad9x, ReadsTheStartKeyBeforeTheDataOnEveryCall) {
  FakeCpuPlatform platform;
  platform.cpuUsage = 42;
  CpuReadings readings;
  EXPECT_EQ(42, sampleCpuLoad(kPlatform9x, platform, readings));
  EXPECT_EQ(42, sampleCpuLoad(kPlatform9x, platform, readings));
  const std::vector<std::string> expected{
      "PerfStats\\StartStat|KERNEL\\CPUUsage", "PerfStats\\StatData|KERNEL\\CPUUsage",
      "PerfStats\\StartStat|KERNEL\\CPUUsage", "PerfStats\\StatData|KERNEL\\CPUUsage"};
  EXPECT_EQ(expected, platform.dynDataReads);
  EXPECT_TRUE(platform.queries.empty()) << "the 9x source never queries ntdll";
  EXPECT_EQ(0, platform.binds);
}

TEST(SampleCpuLoad9x, RawValueIsUncheckedAndSampleCpuLoadKeeps0To100) {
  const struct {
    std::int32_t stored;
    std::int32_t load;
  } rows[] = {
      {0, 0},
      {57, 57},
      {100, 100},
      {101, 0},  // out of range is no measurement, not 100
      {-1, 0},
      {std::numeric_limits<std::int32_t>::min(), 0},
      {std::numeric_limits<std::int32_t>::max(), 0},
  };
  for (const auto& row : rows) {
    FakeCpuPlatform platform;
    platform.cpuUsage = row.stored;
    EXPECT_EQ(row.stored, sampleCpuLoad9x(platform)) << "registry value " << row.stored;
    CpuReadings readings;
    EXPECT_EQ(row.load, sampleCpuLoad(kPlatform9x, platform, readings))
        << "registry value " << row.stored;
  }
}

TEST(SampleCpuLoad9x, UnreadableValueGivesZero) {
  FakeCpuPlatform platform;
  platform.cpuUsage = 55;
  platform.statDataReadable = false;
  EXPECT_EQ(0, sampleCpuLoad9x(platform));
  CpuReadings readings;
  EXPECT_EQ(0, sampleCpuLoad(kPlatform9x, platform, readings));
}

TEST(SampleCpuLoad, UnidentifiedPlatformTouchesNoSource) {
  for (std::int32_t kind : {0, 3, -1}) {
    FakeCpuPlatform platform;
    platform.cpuUsage = 50;
    platform.setTimes(kSecond, kSecond);
    CpuReadings readings{5, 6};
    EXPECT_EQ(0, sampleCpuLoad(static_cast<PlatformKind>(kind), platform, readings)) << "kind " << kind;
    EXPECT_EQ(0, platform.binds) << "kind " << kind;
    EXPECT_TRUE(platform.queries.empty()) << "kind " << kind;
    EXPECT_TRUE(platform.dynDataReads.empty()) << "kind " << kind;
    EXPECT_EQ(5, readings.idleTime) << "kind " << kind;
    EXPECT_EQ(6, readings.systemTime) << "kind " << kind;
  }
}

// --- the real ntdll records ------------------------------------------------

// The real basic record holds the count where the fake puts it, the place
// the meter reads it from.
TEST(Win32CpuLoadPlatform, ReadsTheRealProcessorCountAndSystemTime) {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  CpuLoadPlatform& platform = win32CpuLoadPlatform();
  ASSERT_TRUE(platform.bindSystemQuery());
  unsigned char basic[kBasicLength] = {};
  ASSERT_EQ(0, platform.querySystemInformation(0, basic, sizeof basic));
  EXPECT_EQ(info.dwNumberOfProcessors, basic[kProcessorCountAt]);
  platform.unbindSystemQuery();

  CpuReadings readings;
  NtCpuMeter meter(platform, readings);

  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  EXPECT_EQ(0, meter.sample()) << "first sample of these readings";
  const std::int64_t clock =
      (static_cast<std::int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  EXPECT_NEAR(static_cast<double>(clock), static_cast<double>(readings.systemTime),
              10.0 * kSecond)
      << "CurrentTime is the system time since 1601";
  EXPECT_GT(readings.idleTime, 0);
}

}  // namespace
