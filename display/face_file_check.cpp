#include "display/face_file_check.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kLargestInfoHeaderBytes = 124;
// The info headers the platform documents: the plain one, the two that
// carry the bit-field masks (52 and 56 bytes), version 4 and version 5.
// With any other size the masks and the colour table lie elsewhere than a
// reader looks for them.
constexpr std::uint32_t kInfoHeaderSizes[] = {kInfoHeaderBytes, 52, 56, 108, kLargestInfoHeaderBytes};
constexpr std::uint32_t kBitfieldMaskBytes = 12;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kRunLength8 = 1;
constexpr std::uint32_t kRunLength4 = 2;
constexpr std::uint32_t kBitfields = 3;

std::uint32_t read16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] | p[1] << 8); }
std::uint32_t read32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

struct Layout {
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: stored top-down
  std::uint32_t planes = 0;
  std::uint32_t bitCount = 0;
  std::uint32_t compression = kUncompressed;
  std::uint32_t imageBytes = 0;
  std::uint32_t coloursUsed = 0;
  std::uint32_t colourEntryBytes = 4;
  std::uint32_t extraBytes = 0;  // bit-field masks after a plain info header
};

bool readLayout(const std::uint8_t* info, std::uint32_t headerBytes, Layout& layout) {
  if (headerBytes == kCoreHeaderBytes) {
    layout.width = read16(info + 4);
    layout.height = read16(info + 6);
    layout.planes = read16(info + 8);
    layout.bitCount = read16(info + 10);
    layout.colourEntryBytes = 3;
    return layout.bitCount == 1 || layout.bitCount == 4 || layout.bitCount == 8 || layout.bitCount == 24;
  }
  if (std::find(std::begin(kInfoHeaderSizes), std::end(kInfoHeaderSizes), headerBytes) == std::end(kInfoHeaderSizes)) {
    return false;
  }
  layout.width = static_cast<std::int32_t>(read32(info + 4));
  layout.height = static_cast<std::int32_t>(read32(info + 8));
  layout.planes = read16(info + 12);
  layout.bitCount = read16(info + 14);
  layout.compression = read32(info + 16);
  layout.imageBytes = read32(info + 20);
  layout.coloursUsed = read32(info + 32);
  switch (layout.compression) {
    case kUncompressed:
      return layout.bitCount == 1 || layout.bitCount == 4 || layout.bitCount == 8 || layout.bitCount == 16 ||
             layout.bitCount == 24 || layout.bitCount == 32;
    case kRunLength8:
      return layout.bitCount == 8 && layout.height > 0;
    case kRunLength4:
      return layout.bitCount == 4 && layout.height > 0;
    case kBitfields:
      if (headerBytes == kInfoHeaderBytes) layout.extraBytes = kBitfieldMaskBytes;
      return layout.bitCount == 16 || layout.bitCount == 32;
    default:
      return false;
  }
}

}  // namespace

bool isLoadableFaceFile(const std::uint8_t* head, std::size_t headSize, std::uint64_t fileSize) {
  if (fileSize > kFaceFileMaxBytes || headSize > fileSize) return false;
  if (headSize < kFileHeaderBytes + 4 || head[0] != 'B' || head[1] != 'M') return false;
  const std::uint32_t pixelOffset = read32(head + 10);
  const std::uint32_t headerBytes = read32(head + kFileHeaderBytes);
  if (headerBytes > kLargestInfoHeaderBytes || headSize < kFileHeaderBytes + headerBytes) return false;

  Layout layout;
  if (!readLayout(head + kFileHeaderBytes, headerBytes, layout) || layout.planes != 1) return false;
  const std::int64_t rows = layout.height < 0 ? -layout.height : layout.height;
  if (layout.width < 1 || layout.width > kFaceMaxSide || rows < 1 || rows > kFaceMaxSide) return false;

  std::uint64_t colours = 0;
  if (layout.bitCount <= 8) {
    const std::uint32_t most = 1u << layout.bitCount;
    if (layout.coloursUsed > most) return false;
    colours = layout.coloursUsed != 0 ? layout.coloursUsed : most;
  } else {
    colours = layout.coloursUsed;
  }
  const std::uint64_t tableEnd =
      kFileHeaderBytes + headerBytes + layout.extraBytes + colours * layout.colourEntryBytes;
  if (pixelOffset < tableEnd) return false;

  std::uint64_t pixelBytes = 0;
  if (layout.compression == kRunLength8 || layout.compression == kRunLength4) {
    if (layout.imageBytes == 0) return false;
    pixelBytes = layout.imageBytes;
  } else {
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(layout.width) * layout.bitCount + 31) / 32 * 4;
    pixelBytes = rowBytes * static_cast<std::uint64_t>(rows);
  }
  return static_cast<std::uint64_t>(pixelOffset) + pixelBytes <= fileSize;
}
