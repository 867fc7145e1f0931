// Reads the four built-in face bitmaps back out of the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "tests/resources/resource_test_support.h"

namespace resources {
namespace {

struct ExpectedFace {
  WORD id;
  const char* mood;
  DWORD colours;
};
const ExpectedFace kFaces[] = {{129, "fine", 256}, {136, "busy", 256}, {137, "down", 256}, {138, "calm", 188}};

TEST_F(ProgramResourcesTest, FaceBitmapsAre48By48With8BitsBottomUpUncompressed) {
  for (const ExpectedFace& face : kFaces) {
    SCOPED_TRACE(testing::Message() << face.mood << " face " << face.id);
    ResourceBytes bytes = program_.find(RT_BITMAP, face.id);
    ASSERT_TRUE(bytes) << "missing in language " << hex(kJapanese);
    ASSERT_GE(bytes.size, sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header{};
    std::memcpy(&header, bytes.data, sizeof header);
    EXPECT_EQ(sizeof header, header.biSize);
    EXPECT_EQ(48, header.biWidth);
    EXPECT_EQ(48, header.biHeight) << "positive height: bottom-up";
    EXPECT_EQ(8, header.biBitCount);
    EXPECT_EQ(static_cast<DWORD>(BI_RGB), header.biCompression);
    EXPECT_EQ(face.colours, header.biClrUsed) << "colour table entries";
    EXPECT_EQ(sizeof header + face.colours * sizeof(RGBQUAD) + 48 * 48, bytes.size);
    // Every pixel must name an entry of the table.
    const auto* pixels = static_cast<const BYTE*>(bytes.data) + sizeof header + face.colours * sizeof(RGBQUAD);
    DWORD highest = 0;
    for (std::size_t i = 0; i < 48 * 48 && sizeof header + face.colours * 4 + i < bytes.size; ++i) {
      highest = pixels[i] > highest ? pixels[i] : highest;
    }
    EXPECT_LT(highest, face.colours);
  }
}

}  // namespace
}  // namespace resources
