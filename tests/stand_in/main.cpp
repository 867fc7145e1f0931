// Runs the stand-in library's checks; ctest passes the built library's path
// as --rsrc32=Z:/unix/path (Wine's drive Z: is the Unix root).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {
std::string libraryPath;
}

std::string standInLibraryPath() { return libraryPath; }

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  constexpr const char kOption[] = "--rsrc32=";
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], kOption, sizeof kOption - 1) == 0) libraryPath = argv[i] + sizeof kOption - 1;
  }
  if (libraryPath.empty()) {
    std::fprintf(stderr, "usage: %s --rsrc32=<path of RSRC32.dll>\n", argv[0]);
    return 2;
  }
  for (char& c : libraryPath) {
    if (c == '/') c = '\\';
  }
  return RUN_ALL_TESTS();
}
