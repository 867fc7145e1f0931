// Reads the resources and headers of the built Quimbel.exe back. ctest passes
// its path as --quimbel=Z:/unix/path (Wine's drive Z: is the Unix root).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tests/resources/program_resources.h"

namespace {
std::string quimbelPath;
}

const std::string& resources::programPath() { return quimbelPath; }

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  constexpr const char kOption[] = "--quimbel=";
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], kOption, sizeof kOption - 1) == 0) quimbelPath = argv[i] + sizeof kOption - 1;
  }
  if (quimbelPath.empty()) {
    std::fprintf(stderr, "usage: %s --quimbel=<path of Quimbel.exe>\n", argv[0]);
    return 2;
  }
  for (char& c : quimbelPath) {
    if (c == '/') c = '\\';
  }
  return RUN_ALL_TESTS();
}
