// The version resource, read back the way Explorer reads it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/resources/program_resources.h"

namespace resources {
namespace {

TEST(VersionResource, FileVersionThreeAndProductNameInJapaneseCodePage) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(programPath().c_str(), &ignored);
  ASSERT_NE(0u, size) << "no version resource in " << programPath();
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(programPath().c_str(), 0, size, info.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
  EXPECT_EQ(MAKELONG(0, 3), fixed->dwFileVersionMS) << "file version 3.0";
  EXPECT_EQ(0u, fixed->dwFileVersionLS);

  char* text = nullptr;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\041103a4\\ProductName",
                             reinterpret_cast<void**>(&text), &length))
      << "no product name for Japanese, code page 932";
  EXPECT_EQ("QuimbelUtility", std::string(text));
}

}  // namespace
}  // namespace resources
