// Reads the resources and headers of the built Quimbel.exe back. ctest passes
// its path as --quimbel=Z:/unix/path (Wine's drive Z: is the Unix root).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/resources/program_resources.h"
#include "tests/support/command_line.h"

namespace {
std::string quimbelPath;
}

const std::string& resources::programPath() { return quimbelPath; }

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  quimbelPath = test_support::toWindowsPath(test_support::optionValue(argc, argv, "--quimbel="));
  if (quimbelPath.empty()) {
    std::fprintf(stderr, "usage: %s --quimbel=<path of Quimbel.exe>\n", argv[0]);
    return 2;
  }
  return RUN_ALL_TESTS();
}
