// The compiled layouts of string-table blocks, icon groups and the icon
// images they point to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace resources {

constexpr std::size_t kStringsPerBlock = 16;

// String id n lives in block n / 16 + 1 at index n % 16.
constexpr std::uint16_t stringBlockId(std::uint16_t stringId) { return static_cast<std::uint16_t>(stringId / 16 + 1); }
constexpr std::size_t stringBlockIndex(std::uint16_t stringId) { return stringId % 16; }

// The sixteen counted UTF-16 strings of one RT_STRING block; nothing when the
// block is shorter than its counts say.
std::optional<std::vector<std::wstring>> parseStringBlock(const void* data, std::size_t size);

// One GRPICONDIRENTRY of an RT_GROUP_ICON resource.
struct IconGroupEntry {
  std::uint8_t width = 0;
  std::uint8_t height = 0;
  std::uint8_t colorCount = 0;
  std::uint16_t planes = 0;
  std::uint16_t bitCount = 0;
  std::uint32_t bytesInResource = 0;
  std::uint16_t iconId = 0;  // RT_ICON resource holding the image
};

std::optional<std::vector<IconGroupEntry>> parseIconGroup(const void* data, std::size_t size);

// The BITMAPINFOHEADER fields of an RT_ICON image that must agree with its
// group entry; the height covers the colour and the mask bitmaps together.
struct IconImageHeader {
  std::uint32_t headerSize = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t planes = 0;
  std::uint16_t bitCount = 0;
};

std::optional<IconImageHeader> parseIconImageHeader(const void* data, std::size_t size);

// Bytes a palette icon of this size needs: header, palette, colour rows and
// mask rows, each row padded to 32 bits.
std::size_t paletteIconBytes(std::int32_t width, std::int32_t height, std::uint16_t bitCount);

}  // namespace resources
