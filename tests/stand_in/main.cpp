// Runs the stand-in library's checks; ctest passes the built library's path
// as --rsrc32=Z:/unix/path (Wine's drive Z: is the Unix root).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/support/command_line.h"

namespace {
std::string libraryPath;
}

std::string standInLibraryPath() { return libraryPath; }

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  libraryPath = test_support::toWindowsPath(test_support::optionValue(argc, argv, "--rsrc32="));
  if (libraryPath.empty()) {
    std::fprintf(stderr, "usage: %s --rsrc32=<path of RSRC32.dll>\n", argv[0]);
    return 2;
  }
  return RUN_ALL_TESTS();
}
