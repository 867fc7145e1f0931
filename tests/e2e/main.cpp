// Runs the end-to-end tests against the Quimbel.exe named on the command
// line: --quimbel=<path>, a Unix path (as the build knows it) or a Windows one.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/e2e/harness.h"

namespace {

// Wine shows the Unix root as drive Z:.
std::string toWindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string windows = "Z:" + path;
  for (char& c : windows) {
    if (c == '/') c = '\\';
  }
  return windows;
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // --quimbel=<Quimbel.exe>, and --rsrc32=<the stand-in RSRC32.dll> for the
  // resource readout tests.
  const std::string quimbelOption = "--quimbel=";
  const std::string standInOption = "--rsrc32=";
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.compare(0, quimbelOption.size(), quimbelOption) == 0) {
      e2e::setQuimbelExePath(toWindowsPath(argument.substr(quimbelOption.size())));
    } else if (argument.compare(0, standInOption.size(), standInOption) == 0) {
      e2e::setStandInResourceMeterPath(toWindowsPath(argument.substr(standInOption.size())));
    }
  }
  if (e2e::quimbelExePath().empty()) {
    std::fprintf(stderr, "usage: %s --quimbel=<path of Quimbel.exe> [gtest options]\n", argv[0]);
    return 2;
  }
  return RUN_ALL_TESTS();
}
