// What the test programs take from their command line: paths that ctest
// passes as Unix paths or as Wine's drive Z: with forward slashes.
#pragma once

#include <cstring>
#include <string>

namespace test_support {

// The value of "--name=value", or "" when the option is not given.
inline std::string optionValue(int argc, char** argv, const char* option) {
  const std::size_t length = std::strlen(option);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], option, length) == 0) return argv[i] + length;
  }
  return {};
}

// "/a/b" and "Z:/a/b" both become "Z:\a\b"; Wine shows the Unix root as Z:.
inline std::string toWindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace test_support
