// Runs the end-to-end tests against the Quimbel.exe named on the command
// line (--quimbel=), with the stand-in Resource Meter (--rsrc32=) for the
// resource readout tests.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/e2e/harness.h"
#include "tests/support/command_line.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  using test_support::optionValue;
  using test_support::toWindowsPath;
  e2e::setQuimbelExePath(toWindowsPath(optionValue(argc, argv, "--quimbel=")));
  e2e::setPlainReleaseExePath(toWindowsPath(optionValue(argc, argv, "--plain-release=")));
  e2e::setStandInResourceMeterPath(toWindowsPath(optionValue(argc, argv, "--rsrc32=")));
  if (e2e::quimbelExePath().empty()) {
    std::fprintf(stderr, "usage: %s --quimbel=<path of Quimbel.exe> [gtest options]\n", argv[0]);
    return 2;
  }
  return RUN_ALL_TESTS();
}
