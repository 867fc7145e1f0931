#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "probes/free_resources.h"
#include "probes/platform_kind.h"

namespace {

// The Resource Meter's export is a plain stdcall function, so the fake keeps
// its state in static storage that each test resets.
struct ResourceMeterCalls {
  std::vector<std::int32_t> arguments;
  std::int32_t results[3] = {0, 0, 0};
};

ResourceMeterCalls& meterCalls() {
  static ResourceMeterCalls calls;
  return calls;
}

std::int32_t WINAPI fakeGetFreeResources(std::int32_t which) {
  meterCalls().arguments.push_back(which);
  return which >= 0 && which < 3 ? meterCalls().results[which] : -999;
}

void expectResources(const FreeResources& expected, const FreeResources& actual, const char* note) {
  EXPECT_EQ(expected.system, actual.system) << note << ": system";
  EXPECT_EQ(expected.gdi, actual.gdi) << note << ": GDI";
  EXPECT_EQ(expected.user, actual.user) << note << ": user";
}

class ReadFreeResources : public ::testing::Test {
 protected:
  void SetUp() override { meterCalls() = ResourceMeterCalls{{}, {150, -3, 42}}; }
  const FreeResources previous{7, 8, 9};
};

TEST_F(ReadFreeResources, NtShowsNoLimitsWithoutCallingTheLibrary) {
  expectResources({100, 100, 100}, readFreeResources(kPlatformNt, true, fakeGetFreeResources, previous),
                  "NT with the library");
  expectResources({100, 100, 100}, readFreeResources(kPlatformNt, false, nullptr, previous),
                  "NT without the library");
  EXPECT_TRUE(meterCalls().arguments.empty()) << meterCalls().arguments.size() << " calls";
}

TEST_F(ReadFreeResources, NoLibraryShowsZero) {
  expectResources({0, 0, 0}, readFreeResources(kPlatform9x, false, nullptr, previous),
                  "9x without the library");
  EXPECT_TRUE(meterCalls().arguments.empty()) << meterCalls().arguments.size() << " calls";
}

TEST_F(ReadFreeResources, LibraryWithoutTheExportKeepsThePreviousFigures) {
  expectResources(previous, readFreeResources(kPlatform9x, true, nullptr, previous),
                  "9x, export missing");
}

TEST_F(ReadFreeResources, ExportIsAskedForSystemGdiUserOnceEachAndTakenUnchecked) {
  for (PlatformKind kind : {kPlatform9x, kPlatformUnidentified}) {
    meterCalls().arguments.clear();
    expectResources({150, -3, 42}, readFreeResources(kind, true, fakeGetFreeResources, previous),
                    kind == kPlatform9x ? "9x" : "unidentified");
    EXPECT_EQ((std::vector<std::int32_t>{0, 1, 2}), meterCalls().arguments) << "kind " << kind;
  }
}

}  // namespace
