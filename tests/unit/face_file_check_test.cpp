#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "display/face_file_check.h"

namespace {

void put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  put16(b, at, v & 0xFFFF);
  put16(b, at + 2, v >> 16);
}

// The headers of an 8-bit, 256-colour bitmap file of width x height.
struct FaceFile {
  std::vector<std::uint8_t> head = std::vector<std::uint8_t>(kFaceFileHeadBytes);
  std::uint64_t size = 0;

  FaceFile(std::int32_t width, std::int32_t height) {
    head[0] = 'B';
    head[1] = 'M';
    const std::uint32_t offset = 14 + 40 + 256 * 4;
    const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
    size = offset + (static_cast<std::uint32_t>(width) + 3) / 4 * 4 * rows;
    put32(head, 2, static_cast<std::uint32_t>(size));
    put32(head, 10, offset);
    put32(head, 14, 40);
    put32(head, 18, static_cast<std::uint32_t>(width));
    put32(head, 22, static_cast<std::uint32_t>(height));
    put16(head, 26, 1);
    put16(head, 28, 8);
  }
  bool loadable() const { return isLoadableFaceFile(head.data(), head.size(), size); }
};

struct Damage {
  const char* what;
  std::function<void(FaceFile&)> apply;
};

TEST(FaceFileCheck, WholePlausibleBitmapsPass) {
  EXPECT_TRUE(FaceFile(48, 48).loadable());
  EXPECT_TRUE(FaceFile(64, 64).loadable());
  EXPECT_TRUE(FaceFile(1024, -1024).loadable()) << "top-down, at the size limit";
  FaceFile core(48, 48);  // the old OS/2 header
  core.head[14] = 12;
  put16(core.head, 18, 48);
  put16(core.head, 20, 48);
  put16(core.head, 22, 1);
  put16(core.head, 24, 8);
  EXPECT_TRUE(core.loadable());
}

// The plain info header and the documented longer ones pass; a size between
// them is refused even where the rest of the file agrees with it.
TEST(FaceFileCheck, OnlyTheDocumentedInfoHeaderSizesPass) {
  const struct {
    std::uint32_t bytes;
    bool loadable;
  } rows[] = {{40, true}, {41, false}, {52, true}, {56, true}, {64, false}, {108, true}, {124, true}};
  for (const auto& row : rows) {
    FaceFile file(48, 48);
    put32(file.head, 14, row.bytes);
    put32(file.head, 10, 14 + row.bytes + 256 * 4);
    file.size += row.bytes - 40;
    EXPECT_EQ(row.loadable, file.loadable()) << row.bytes << "-byte info header";
  }
}

TEST(FaceFileCheck, DamagedOrHugeFilesAreRefused) {
  const Damage damages[] = {
      {"one byte short of its pixels", [](FaceFile& f) { --f.size; }},
      {"only the file header", [](FaceFile& f) { f.head.resize(14); f.size = 14; }},
      {"not a bitmap", [](FaceFile& f) { f.head[1] = 'X'; }},
      {"1025 pixels wide", [](FaceFile& f) { f = FaceFile(1025, 48); }},
      {"1025 pixels high", [](FaceFile& f) { f = FaceFile(48, -1025); }},
      {"no width", [](FaceFile& f) { put32(f.head, 18, 0); }},
      {"over 16 MB", [](FaceFile& f) { f.size = kFaceFileMaxBytes + 1; }},
      {"unknown header size", [](FaceFile& f) { put32(f.head, 14, 64000); }},
      {"two planes", [](FaceFile& f) { put16(f.head, 26, 2); }},
      {"7 bits per pixel", [](FaceFile& f) { put16(f.head, 28, 7); }},
      {"more colours than 8 bits hold", [](FaceFile& f) { put32(f.head, 46, 257); }},
      {"pixels inside the colour table", [](FaceFile& f) { put32(f.head, 10, 100); }},
      {"unknown compression", [](FaceFile& f) { put32(f.head, 30, 9); }},
      {"run-length data past the end", [](FaceFile& f) {
         put32(f.head, 30, 1);
         put32(f.head, 34, static_cast<std::uint32_t>(f.size));
       }},
  };
  for (const Damage& damage : damages) {
    FaceFile file(48, 48);
    damage.apply(file);
    EXPECT_FALSE(file.loadable()) << damage.what;
  }
}

}  // namespace
