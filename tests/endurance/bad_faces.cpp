#include "tests/endurance/bad_faces.h"

#include <cstdint>
#include <cstdlib>
#include <random>

namespace endurance {
namespace {

using Random = std::mt19937;

int pick(Random& random, int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }

void put16(std::string& out, std::uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

struct BitmapShape {
  std::int32_t width = 48;
  std::int32_t height = 48;
  std::uint16_t bitCount = 8;
  std::uint32_t compression = 0;  // BI_RGB
  std::uint32_t coloursUsed = 0;
  std::uint32_t imageSize = 0;
  bool pixelData = true;  // rows as the header declares them, when small enough
};

// A bitmap file as the header describes it, with a palette for the small
// depths and, if asked and not absurdly large, the pixel rows.
std::string bitmapFile(const BitmapShape& shape, Random& random) {
  const std::uint32_t paletteEntries =
      shape.coloursUsed ? (shape.coloursUsed > 256 ? 256 : shape.coloursUsed)
                        : (shape.bitCount >= 1 && shape.bitCount <= 8 ? 1u << shape.bitCount : 0);
  const std::uint64_t stride = (static_cast<std::uint64_t>(std::llabs(shape.width)) * shape.bitCount + 31) / 32 * 4;
  const std::uint64_t rows = static_cast<std::uint64_t>(std::llabs(shape.height));
  const std::uint64_t dataSize = stride * rows;
  const std::uint32_t offset = 14 + 40 + paletteEntries * 4;
  std::string out = "BM";
  put32(out, static_cast<std::uint32_t>(offset + dataSize));
  put32(out, 0);
  put32(out, offset);
  put32(out, 40);
  put32(out, static_cast<std::uint32_t>(shape.width));
  put32(out, static_cast<std::uint32_t>(shape.height));
  put16(out, 1);
  put16(out, shape.bitCount);
  put32(out, shape.compression);
  put32(out, shape.imageSize);
  put32(out, 2835);
  put32(out, 2835);
  put32(out, shape.coloursUsed);
  put32(out, 0);
  for (std::uint32_t i = 0; i < paletteEntries; ++i) put32(out, static_cast<std::uint32_t>(random()) & 0xFFFFFF);
  if (shape.pixelData && dataSize <= (1u << 20)) {
    for (std::uint64_t i = 0; i < dataSize; ++i) out += static_cast<char>(random() & 0xFF);
  }
  return out;
}

std::string truncated(Random& random, int index) {
  const std::string whole = bitmapFile(BitmapShape{}, random);
  // The header, palette and row boundaries first, then anywhere.
  static const std::size_t kCuts[] = {1, 2, 13, 14, 15, 30, 53, 54, 55, 1077, 1078, 1079, 1078 + 48, 3000};
  const std::size_t cut = index < static_cast<int>(std::size(kCuts))
                              ? kCuts[index]
                              : 1 + static_cast<std::size_t>(pick(random, static_cast<int>(whole.size()) - 1));
  return whole.substr(0, cut);
}

std::string wrongSize(Random& random, int index) {
  static const std::int32_t kSizes[][2] = {{1, 1},   {47, 48}, {48, 47},  {49, 49}, {64, 64}, {16, 16},
                                           {1, 500}, {500, 1}, {300, 300}, {48, -48}, {0, 48},  {48, 0},
                                           {0, 0},   {-48, 48}, {1024, 1}};
  BitmapShape shape;
  const auto& size = kSizes[index % std::size(kSizes)];
  shape.width = size[0];
  shape.height = size[1];
  shape.bitCount = index % 2 ? 8 : 24;
  std::string file = bitmapFile(shape, random);
  // Every other round, the file's own size field or data offset lies too.
  if ((index / static_cast<int>(std::size(kSizes))) % 2 == 1) file[2 + pick(random, 12)] = static_cast<char>(random());
  return file;
}

std::string wrongDepth(Random& random, int index) {
  static const std::uint16_t kDepths[] = {0, 2, 3, 5, 6, 7, 9, 12, 15, 33, 48, 64, 255, 65535, 1, 4, 16, 32};
  static const std::uint32_t kCompressions[] = {0, 1, 2, 3, 4, 5, 6, 99};
  BitmapShape shape;
  shape.bitCount = kDepths[index % std::size(kDepths)];
  shape.compression = kCompressions[(index / std::size(kDepths) + static_cast<std::size_t>(index)) % std::size(kCompressions)];
  return bitmapFile(shape, random);
}

std::string notABitmap(Random& random, int index) {
  std::string noise;
  for (int i = 0, n = 1 + pick(random, 4000); i < n; ++i) noise += static_cast<char>(random() & 0xFF);
  switch (index % 6) {
    case 0:
      return noise;
    case 1:
      return std::string("\x89PNG\r\n\x1a\n", 8) + noise;
    case 2:
      return "BM" + noise;
    case 3:
      return "GIF89a" + noise;
    case 4:
      return std::string("\0\0\1\0\1\0\x30\x30\0\0\1\0\x08\0", 14) + noise;  // an icon
    default:
      return "これはビットマップではありません。\r\nnot a bitmap\r\n";
  }
}

std::string hugeDimensions(Random& random, int index) {
  static const std::int32_t kSizes[][2] = {
      {1025, 1024}, {1024, 1025}, {4096, 4096}, {65535, 65535}, {0x7FFFFFFF, 1}, {1, 0x7FFFFFFF},
      {0x7FFFFFFF, 0x7FFFFFFF}, {-0x7FFFFFFF - 1, 48}, {48, -0x7FFFFFFF - 1}, {100000, 100000}, {2048, 2049}};
  static const std::uint16_t kDepths[] = {1, 8, 24, 32};
  BitmapShape shape;
  const auto& size = kSizes[index % std::size(kSizes)];
  shape.width = size[0];
  shape.height = size[1];
  shape.bitCount = kDepths[(index / std::size(kSizes)) % std::size(kDepths)];
  shape.pixelData = false;
  switch (index % 3) {
    case 0:
      shape.imageSize = 0xFFFFFFFF;
      break;
    case 1:
      shape.coloursUsed = 0xFFFFFFFF;
      break;
    default:
      break;
  }
  std::string file = bitmapFile(shape, random);
  for (int i = 0, n = pick(random, 1024); i < n; ++i) file += static_cast<char>(random() & 0xFF);
  return file;
}

}  // namespace

const char* faceCategoryName(int category) {
  static const char* const kNames[] = {"truncated", "wrong sizes", "wrong bit depths", "not bitmaps",
                                       "zero bytes", "huge declared dimensions"};
  return kNames[category];
}

std::string badFaceFile(int category, int index) {
  Random random(static_cast<Random::result_type>(4800 + category * 100000 + index));
  switch (category) {
    case 0:
      return truncated(random, index);
    case 1:
      return wrongSize(random, index);
    case 2:
      return wrongDepth(random, index);
    case 3:
      return notABitmap(random, index);
    case 4:
      return {};
    default:
      return hugeDimensions(random, index);
  }
}

}  // namespace endurance
