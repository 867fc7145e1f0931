// What the resource tests share: the loaded program and style-bit checks
// that print the bits in hexadecimal.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/resources/program_resources.h"

namespace resources {

inline std::string hex(unsigned long value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", value);
  return text;
}

// Every bit of `required` set and none of `forbidden`.
inline testing::AssertionResult hasBits(const char* what, DWORD actual, DWORD required, DWORD forbidden) {
  DWORD missing = required & ~actual;
  DWORD extra = forbidden & actual;
  if (missing == 0 && extra == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure() << what << " " << hex(actual) << ": missing " << hex(missing)
                                     << " of required " << hex(required) << ", has " << hex(extra)
                                     << " of forbidden " << hex(forbidden);
}

// The bits under `mask` equal `expected` (a button, static or alignment type).
inline testing::AssertionResult hasType(const char* what, DWORD actual, DWORD mask, DWORD expected) {
  if ((actual & mask) == expected) return testing::AssertionSuccess();
  return testing::AssertionFailure() << what << " " << hex(actual) << ": bits under " << hex(mask) << " are "
                                     << hex(actual & mask) << ", expected " << hex(expected);
}

class ProgramResourcesTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program_.loaded()) << "cannot load " << programPath() << " as a data file, error "
                                   << program_.loadError();
  }

  ProgramResources program_{programPath()};
};

}  // namespace resources
