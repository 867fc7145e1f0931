#include "tests/resources/string_and_icon_formats.h"

#include "tests/resources/resource_bytes.h"

namespace resources {

namespace {
constexpr std::uint16_t kIconResourceType = 1;
constexpr std::size_t kInfoHeaderSize = 40;
}  // namespace

std::optional<std::vector<std::wstring>> parseStringBlock(const void* data, std::size_t size) {
  ByteReader reader(data, size);
  std::vector<std::wstring> strings;
  for (std::size_t i = 0; i < kStringsPerBlock; ++i) strings.push_back(reader.countedWideString());
  if (!reader.ok()) return std::nullopt;
  return strings;
}

std::optional<std::vector<IconGroupEntry>> parseIconGroup(const void* data, std::size_t size) {
  ByteReader reader(data, size);
  std::uint16_t reserved = reader.u16();
  std::uint16_t type = reader.u16();
  std::uint16_t count = reader.u16();
  if (!reader.ok() || reserved != 0 || type != kIconResourceType) return std::nullopt;
  std::vector<IconGroupEntry> entries;
  for (std::uint16_t i = 0; i < count; ++i) {
    IconGroupEntry entry;
    entry.width = reader.u8();
    entry.height = reader.u8();
    entry.colorCount = reader.u8();
    reader.u8();  // reserved
    entry.planes = reader.u16();
    entry.bitCount = reader.u16();
    entry.bytesInResource = reader.u32();
    entry.iconId = reader.u16();
    entries.push_back(entry);
  }
  if (!reader.ok()) return std::nullopt;
  return entries;
}

std::optional<IconImageHeader> parseIconImageHeader(const void* data, std::size_t size) {
  ByteReader reader(data, size);
  IconImageHeader header;
  header.headerSize = reader.u32();
  header.width = static_cast<std::int32_t>(reader.u32());
  header.height = static_cast<std::int32_t>(reader.u32());
  header.planes = reader.u16();
  header.bitCount = reader.u16();
  if (!reader.ok()) return std::nullopt;
  return header;
}

std::size_t paletteIconBytes(std::int32_t width, std::int32_t height, std::uint16_t bitCount) {
  auto rowBytes = [width](std::size_t bits) { return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4; };
  std::size_t palette = (std::size_t{1} << bitCount) * 4;
  return kInfoHeaderSize + palette + (rowBytes(bitCount) + rowBytes(1)) * static_cast<std::size_t>(height);
}

}  // namespace resources
